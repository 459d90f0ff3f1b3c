# A tour of broken files: every file the game reads, missing or damaged, one
# case a line. Each case breaks one file in a private run directory, starts
# the real game, presses Escape whenever its window is there, and checks the
# exit status and the whole console output. The output must be exactly the
# lines listed (bash patterns; "-" for none); the body of a shader report
# (the driver's info log, up to the report's closing rule) is the driver's and
# not compared. A line marked "~" may be missing: a damaged model may still
# import in part, and whether it does is the importer's call, not the game's.
# Nothing may reach standard error (a sanitizer report would land there).
#
# Status 0: the game went on drawing and answered Escape. Status 255: start-up
# failed, and only after the two-second wait.
#
# Under the sanitizers, FROSTMOOR_GAME_PRELOAD names libraries preloaded into
# the game alone (scripts/test keeps the OpenGL driver mapped until the leak
# check, so that its allocations are recognised as the driver's).
# FROSTMOOR_TOUR_ONLY=<regex> runs only the cases whose "action target" matches.
source "$(dirname "$0")/lib.sh"

# action  target (as the game names it, from the run directory)  status  lines (" | " between)
CASES=$(cat <<'EOF'
rm      ../assets/objects/map/boden1.obj                                      0   ERROR::ASSIMP:: *../assets/objects/map/boden1.obj*
cut     ../assets/objects/map/boden1.obj                                      0   ~ERROR::ASSIMP:: ?*
noise   ../assets/objects/map/boden1.obj                                      0   ~ERROR::ASSIMP:: ?*
rm      ../assets/objects/snowman/snowi.obj                                   0   ERROR::ASSIMP:: *../assets/objects/snowman/snowi.obj*
cut     ../assets/objects/snowman/snowi.obj                                   0   ~ERROR::ASSIMP:: ?*
noise   ../assets/objects/snowman/snowi.obj                                   0   ~ERROR::ASSIMP:: ?*
rm      ../assets/objects/icecube/icecube.obj                                 0   ERROR::ASSIMP:: *../assets/objects/icecube/icecube.obj*
cut     ../assets/objects/icecube/icecube.obj                                 0   ~ERROR::ASSIMP:: ?*
noise   ../assets/objects/icecube/icecube.obj                                 0   ~ERROR::ASSIMP:: ?*
rm      ../assets/objects/cactus-low-poly/source/cactus._testobj.obj          0   ERROR::ASSIMP:: *../assets/objects/cactus-low-poly/source/cactus._testobj.obj*
cut     ../assets/objects/cactus-low-poly/source/cactus._testobj.obj          0   ~ERROR::ASSIMP:: ?*
noise   ../assets/objects/cactus-low-poly/source/cactus._testobj.obj          0   ~ERROR::ASSIMP:: ?*
rm      ../assets/objects/rock/rock.obj                                       0   ERROR::ASSIMP:: *../assets/objects/rock/rock.obj*
cut     ../assets/objects/rock/rock.obj                                       0   ~ERROR::ASSIMP:: ?*
noise   ../assets/objects/rock/rock.obj                                       0   ~ERROR::ASSIMP:: ?*
rm      ../assets/objects/rock/rock_blendswap.obj                             0   ERROR::ASSIMP:: *../assets/objects/rock/rock_blendswap.obj*
cut     ../assets/objects/rock/rock_blendswap.obj                             0   ~ERROR::ASSIMP:: ?*
noise   ../assets/objects/rock/rock_blendswap.obj                             0   ~ERROR::ASSIMP:: ?*
rm      ../assets/objects/helicopter/HelicopterTest.obj                       0   ERROR::ASSIMP:: *../assets/objects/helicopter/HelicopterTest.obj*
cut     ../assets/objects/helicopter/HelicopterTest.obj                       0   ~ERROR::ASSIMP:: ?*
noise   ../assets/objects/helicopter/HelicopterTest.obj                       0   ~ERROR::ASSIMP:: ?*
rm      ../assets/objects/snowman/hat.obj                                     0   ERROR::ASSIMP:: *../assets/objects/snowman/hat.obj*
cut     ../assets/objects/snowman/hat.obj                                     0   ~ERROR::ASSIMP:: ?*
noise   ../assets/objects/snowman/hat.obj                                     0   ~ERROR::ASSIMP:: ?*
rm      ../assets/objects/74307_Alien_Larvae/Larve1.obj                       0   ERROR::ASSIMP:: *../assets/objects/74307_Alien_Larvae/Larve1.obj*
cut     ../assets/objects/74307_Alien_Larvae/Larve1.obj                       0   ~ERROR::ASSIMP:: ?*
noise   ../assets/objects/74307_Alien_Larvae/Larve1.obj                       0   ~ERROR::ASSIMP:: ?*
rm      ../assets/objects/74307_Alien_Larvae/larva.png                        0   Texture failed to load at path: larva.png
noise   ../assets/objects/74307_Alien_Larvae/larva.png                        0   Texture failed to load at path: larva.png
rm      ../assets/objects/74307_Alien_Larvae/larva_spec.png                   0   Texture failed to load at path: larva_spec.png
noise   ../assets/objects/74307_Alien_Larvae/larva_spec.png                   0   Texture failed to load at path: larva_spec.png
rm      ../assets/objects/cactus-low-poly/source/cactus.png                   0   Texture failed to load at path: cactus.png
noise   ../assets/objects/cactus-low-poly/source/cactus.png                   0   Texture failed to load at path: cactus.png
rm      ../assets/objects/cactus-low-poly/source/cactus_spec.png              0   Texture failed to load at path: cactus_spec.png
noise   ../assets/objects/cactus-low-poly/source/cactus_spec.png              0   Texture failed to load at path: cactus_spec.png
rm      ../assets/objects/helicopter/glass.png                                0   Texture failed to load at path: glass.png
noise   ../assets/objects/helicopter/glass.png                                0   Texture failed to load at path: glass.png
rm      ../assets/objects/helicopter/glass_spec.png                           0   Texture failed to load at path: glass_spec.png
noise   ../assets/objects/helicopter/glass_spec.png                           0   Texture failed to load at path: glass_spec.png
rm      ../assets/objects/helicopter/metal.png                                0   Texture failed to load at path: metal.png
noise   ../assets/objects/helicopter/metal.png                                0   Texture failed to load at path: metal.png
rm      ../assets/objects/helicopter/metal_spec.png                           0   Texture failed to load at path: metal_spec.png
noise   ../assets/objects/helicopter/metal_spec.png                           0   Texture failed to load at path: metal_spec.png
rm      ../assets/objects/helicopter/paint.png                                0   Texture failed to load at path: paint.png
noise   ../assets/objects/helicopter/paint.png                                0   Texture failed to load at path: paint.png
rm      ../assets/objects/helicopter/paint_spec.png                           0   Texture failed to load at path: paint_spec.png
noise   ../assets/objects/helicopter/paint_spec.png                           0   Texture failed to load at path: paint_spec.png
rm      ../assets/objects/helicopter/rotor.png                                0   Texture failed to load at path: rotor.png
noise   ../assets/objects/helicopter/rotor.png                                0   Texture failed to load at path: rotor.png
rm      ../assets/objects/helicopter/rotor_spec.png                           0   Texture failed to load at path: rotor_spec.png
noise   ../assets/objects/helicopter/rotor_spec.png                           0   Texture failed to load at path: rotor_spec.png
rm      ../assets/objects/icecube/ice.png                                     0   Texture failed to load at path: ice.png
noise   ../assets/objects/icecube/ice.png                                     0   Texture failed to load at path: ice.png
rm      ../assets/objects/icecube/ice_spec.png                                0   Texture failed to load at path: ice_spec.png
noise   ../assets/objects/icecube/ice_spec.png                                0   Texture failed to load at path: ice_spec.png
rm      ../assets/objects/map/sand.png                                        0   Texture failed to load at path: sand.png
noise   ../assets/objects/map/sand.png                                        0   Texture failed to load at path: sand.png
rm      ../assets/objects/map/sand_spec.png                                   0   Texture failed to load at path: sand_spec.png
noise   ../assets/objects/map/sand_spec.png                                   0   Texture failed to load at path: sand_spec.png
rm      ../assets/objects/snowman/band.png                                    0   Texture failed to load at path: band.png
noise   ../assets/objects/snowman/band.png                                    0   Texture failed to load at path: band.png
rm      ../assets/objects/snowman/carrot.png                                  0   Texture failed to load at path: carrot.png
noise   ../assets/objects/snowman/carrot.png                                  0   Texture failed to load at path: carrot.png
rm      ../assets/objects/snowman/coal.png                                    0   Texture failed to load at path: coal.png
noise   ../assets/objects/snowman/coal.png                                    0   Texture failed to load at path: coal.png
rm      ../assets/objects/snowman/coal_spec.png                               0   Texture failed to load at path: coal_spec.png
noise   ../assets/objects/snowman/coal_spec.png                               0   Texture failed to load at path: coal_spec.png
rm      ../assets/objects/snowman/felt.png                                    0   Texture failed to load at path: felt.png
noise   ../assets/objects/snowman/felt.png                                    0   Texture failed to load at path: felt.png
rm      ../assets/objects/snowman/felt_spec.png                               0   Texture failed to load at path: felt_spec.png
noise   ../assets/objects/snowman/felt_spec.png                               0   Texture failed to load at path: felt_spec.png
rm      ../assets/objects/snowman/matte_spec.png                              0   Texture failed to load at path: matte_spec.png | Texture failed to load at path: matte_spec.png
noise   ../assets/objects/snowman/matte_spec.png                              0   Texture failed to load at path: matte_spec.png | Texture failed to load at path: matte_spec.png
rm      ../assets/objects/snowman/scarf.png                                   0   Texture failed to load at path: scarf.png
noise   ../assets/objects/snowman/scarf.png                                   0   Texture failed to load at path: scarf.png
rm      ../assets/objects/snowman/snow.png                                    0   Texture failed to load at path: snow.png
noise   ../assets/objects/snowman/snow.png                                    0   Texture failed to load at path: snow.png
rm      ../assets/objects/snowman/snow_spec.png                               0   Texture failed to load at path: snow_spec.png
noise   ../assets/objects/snowman/snow_spec.png                               0   Texture failed to load at path: snow_spec.png
rm      ../assets/objects/snowman/wood.png                                    0   Texture failed to load at path: wood.png
noise   ../assets/objects/snowman/wood.png                                    0   Texture failed to load at path: wood.png
rm      ../assets/objects/rock/rock.jpg                                       0   Texture failed to load at path: rock.jpg | Texture failed to load at path: rock.jpg | Texture failed to load at path: ../assets/objects/rock/rock.jpg
noise   ../assets/objects/rock/rock.jpg                                       0   Texture failed to load at path: rock.jpg | Texture failed to load at path: rock.jpg | Texture failed to load at path: ../assets/objects/rock/rock.jpg
cut     ../assets/objects/rock/rock.jpg                                       0   Texture failed to load at path: rock.jpg | Texture failed to load at path: rock.jpg | Texture failed to load at path: ../assets/objects/rock/rock.jpg
rm      ../assets/objects/rock/rock_specular.jpg                              0   Texture failed to load at path: rock_specular.jpg | Texture failed to load at path: ../assets/objects/rock/rock_specular.jpg
noise   ../assets/objects/rock/rock_specular.jpg                              0   Texture failed to load at path: rock_specular.jpg | Texture failed to load at path: ../assets/objects/rock/rock_specular.jpg
cut     ../assets/objects/rock/rock_specular.jpg                              0   Texture failed to load at path: rock_specular.jpg | Texture failed to load at path: ../assets/objects/rock/rock_specular.jpg
rm      ../assets/objects/skybox/sahara_lf.tga                                0   Skybox texture failed to load: ../assets/objects/skybox/sahara_lf.tga
noise   ../assets/objects/skybox/sahara_lf.tga                                0   Skybox texture failed to load: ../assets/objects/skybox/sahara_lf.tga
rm      ../assets/objects/skybox/sahara_rt.tga                                0   Skybox texture failed to load: ../assets/objects/skybox/sahara_rt.tga
noise   ../assets/objects/skybox/sahara_rt.tga                                0   Skybox texture failed to load: ../assets/objects/skybox/sahara_rt.tga
rm      ../assets/objects/skybox/sahara_up.tga                                0   Skybox texture failed to load: ../assets/objects/skybox/sahara_up.tga
noise   ../assets/objects/skybox/sahara_up.tga                                0   Skybox texture failed to load: ../assets/objects/skybox/sahara_up.tga
rm      ../assets/objects/skybox/sahara_dn.tga                                0   Skybox texture failed to load: ../assets/objects/skybox/sahara_dn.tga
noise   ../assets/objects/skybox/sahara_dn.tga                                0   Skybox texture failed to load: ../assets/objects/skybox/sahara_dn.tga
rm      ../assets/objects/skybox/sahara_ft.tga                                0   Skybox texture failed to load: ../assets/objects/skybox/sahara_ft.tga
noise   ../assets/objects/skybox/sahara_ft.tga                                0   Skybox texture failed to load: ../assets/objects/skybox/sahara_ft.tga
rm      ../assets/objects/skybox/sahara_bk.tga                                0   Skybox texture failed to load: ../assets/objects/skybox/sahara_bk.tga
noise   ../assets/objects/skybox/sahara_bk.tga                                0   Skybox texture failed to load: ../assets/objects/skybox/sahara_bk.tga
rm      Text.vert                                                             0   ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ | ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
empty   Text.vert                                                             0   ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
syntax  Text.vert                                                             0   ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
rm      Text.frag                                                             0   ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ | ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
empty   Text.frag                                                             0   ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
syntax  Text.frag                                                             0   ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
rm      Lighting.vert                                                         0   ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ | ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
empty   Lighting.vert                                                         0   ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
syntax  Lighting.vert                                                         0   ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
rm      Lighting.frag                                                         0   ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ | ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
empty   Lighting.frag                                                         0   ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
syntax  Lighting.frag                                                         0   ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
rm      toon.vert                                                             0   ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ | ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
empty   toon.vert                                                             0   ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
syntax  toon.vert                                                             0   ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
rm      toon.frag                                                             0   ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ | ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
empty   toon.frag                                                             0   ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
syntax  toon.frag                                                             0   ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
rm      particles.vert                                                        0   ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ | ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
empty   particles.vert                                                        0   ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
syntax  particles.vert                                                        0   ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
rm      particles.frag                                                        0   ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ | ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
empty   particles.frag                                                        0   ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
syntax  particles.frag                                                        0   ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
rm      lightmaps.vert                                                        0   ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ | ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
empty   lightmaps.vert                                                        0   ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
syntax  lightmaps.vert                                                        0   ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
rm      lightmaps.frag                                                        0   ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ | ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
empty   lightmaps.frag                                                        0   ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
syntax  lightmaps.frag                                                        0   ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
rm      Skybox.vert                                                           0   ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ | ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
empty   Skybox.vert                                                           0   ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
syntax  Skybox.vert                                                           0   ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
rm      Skybox.frag                                                           0   ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ | ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
empty   Skybox.frag                                                           0   ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
syntax  Skybox.frag                                                           0   ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
rm      ghost.vert                                                            0   ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ | ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
empty   ghost.vert                                                            0   ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
syntax  ghost.vert                                                            0   ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
rm      ghost.frag                                                            0   ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ | ERROR::SHADER_COMPILATION_ERROR of type: VERTEX | ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
empty   ghost.frag                                                            0   ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
syntax  ghost.frag                                                            0   ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT | ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM
rm      ../assets/sounds/wind.wav                                             0   ERROR::SOUND:: ../assets/sounds/wind.wav
noise   ../assets/sounds/wind.wav                                             0   ERROR::SOUND:: ../assets/sounds/wind.wav
rm      ../assets/sounds/footstep.wav                                         0   ERROR::SOUND:: ../assets/sounds/footstep.wav
noise   ../assets/sounds/footstep.wav                                         0   ERROR::SOUND:: ../assets/sounds/footstep.wav
rm      ../assets/sounds/chime.wav                                            0   ERROR::SOUND:: ../assets/sounds/chime.wav
noise   ../assets/sounds/chime.wav                                            0   ERROR::SOUND:: ../assets/sounds/chime.wav
rm      ../assets/sounds/sizzle.wav                                           0   ERROR::SOUND:: ../assets/sounds/sizzle.wav
noise   ../assets/sounds/sizzle.wav                                           0   ERROR::SOUND:: ../assets/sounds/sizzle.wav
rm      ../assets/sounds/melt.wav                                             0   ERROR::SOUND:: ../assets/sounds/melt.wav
noise   ../assets/sounds/melt.wav                                             0   ERROR::SOUND:: ../assets/sounds/melt.wav
rm      ../assets/sounds/rotor.wav                                            0   ERROR::SOUND:: ../assets/sounds/rotor.wav
noise   ../assets/sounds/rotor.wav                                            0   ERROR::SOUND:: ../assets/sounds/rotor.wav
rm      ../assets/sounds/fanfare.wav                                          0   ERROR::SOUND:: ../assets/sounds/fanfare.wav
noise   ../assets/sounds/fanfare.wav                                          0   ERROR::SOUND:: ../assets/sounds/fanfare.wav
rm      ../assets/sounds/thud.wav                                             0   ERROR::SOUND:: ../assets/sounds/thud.wav
noise   ../assets/sounds/thud.wav                                             0   ERROR::SOUND:: ../assets/sounds/thud.wav
empty   ../assets/sounds/wind.wav                                             0   ERROR::SOUND:: ../assets/sounds/wind.wav
set     volume=7                                                              0   -
rm      ../assets/fonts/arial.ttf                                             255 ERROR::FREETYPE: Failed to load font
empty   ../assets/fonts/arial.ttf                                             255 ERROR::FREETYPE: Failed to load font
noise   ../assets/fonts/arial.ttf                                             255 ERROR::FREETYPE: Failed to load font
rm      settings.ini                                                          255 WARNING: settings.ini not found! Using defaults instead. | Failed to load 'settings.ini'
noise   settings.ini                                                          0   -
longline settings.ini                                                          0   -
set     width=-5                                                              255 Failed to create GLFW window
set     height=0                                                              255 Failed to create GLFW window
set     width=99999                                                           0   -
EOF
)

# Deterministic "random" bytes, so that a failing case fails every time.
noise_bytes() {
    python3 -c 'import random,sys; random.seed(sys.argv[2]); sys.stdout.buffer.write(random.randbytes(int(sys.argv[1])))' "$1" "$2"
}

# Breaks $2 (relative to the run directory) as $1 says.
break_file() {
    local action=$1 target=$2 file="$RUN/$2"
    case $action in
        rm) rm -f "$file" ;;
        empty) : >"$file" ;;
        cut) truncate -s $(($(stat -c %s "$file") / 2)) "$file" ;;
        noise) noise_bytes "$(stat -c %s "$file")" "$target" >"$file" ;;
        syntax) printf '\nvoid broken( {\n' >>"$file" ;;
        longline) { echo "[window]"; printf 'title = %*s\n' 1048576 x | tr ' ' 'y'; echo "width = 800"; } >"$file" ;;
        set) # target is a key=value of settings.ini
            file="$RUN/settings.ini"
            sed -i "s/^${target%%=*} *=.*/${target%%=*} = ${target#*=}/" "$file" ;;
        *) echo "unknown action $action" >&2; return 1 ;;
    esac
}

# Drops the driver's info log of each shader report, keeping its header.
headlines() {
    awk '
        skip { if ($0 == " -- --------------------------------------------------- -- ") skip = 0; next }
        { print }
        /^ERROR::(SHADER_COMPILATION|PROGRAM_LINKING)_ERROR of type: / { skip = 1 }
    ' "$1"
}

# Runs the game once, pressing Escape whenever its window is up, until it
# ends; its exit status (or "hang") goes to STATUS.
run_case() {
    start_game
    local deadline=$((SECONDS + 90)) window
    while [ ! -f "$GAME_STATUS_FILE" ]; do
        window=$(xdotool search --name '^Frostmoor$' 2>/dev/null | head -n 1 || true)
        if [ -n "$window" ]; then
            xdotool windowfocus "$window" 2>/dev/null || true
            xdotool keydown Escape 2>/dev/null || true
            sleep 0.2
            xdotool keyup Escape 2>/dev/null || true
        fi
        sleep 0.1
        if [ "$SECONDS" -gt "$deadline" ]; then
            kill -9 "$GAME_PID" 2>/dev/null || true
            wait "$GAME_PID" 2>/dev/null || true
            GAME_PID=""
            STATUS=hang
            return
        fi
    done
    wait "$GAME_PID" 2>/dev/null || true
    GAME_PID=""
    STATUS=$(cat "$GAME_STATUS_FILE")
}

if [ -n "${FROSTMOOR_GAME_PRELOAD:-}" ]; then
    printf '#!/bin/sh\nLD_PRELOAD="%s" exec "%s"\n' "$FROSTMOOR_GAME_PRELOAD" "$FROSTMOOR_BIN" >"$WORK/game"
    chmod +x "$WORK/game"
    FROSTMOOR_BIN=$WORK/game
fi

make_run_dir copy
# The game plays its sounds into a file, so that every case also runs the
# mixer with whatever sounds could be read.
record_sound
# The asset tree is a private copy; a case restores what it broke.
PRISTINE="$WORK/pristine"
mkdir -p "$PRISTINE"
cp -r "$RUN" "$PRISTINE/run"
cp -r "$WORK/assets" "$PRISTINE/assets"

failures=0
count=0
while read -r action target want lines; do
    [ -z "$action" ] || [ "${action:0:1}" = "#" ] && continue
    [ -n "${FROSTMOOR_TOUR_ONLY:-}" ] && [[ ! "$action $target" =~ $FROSTMOOR_TOUR_ONLY ]] && continue
    count=$((count + 1))
    name="$action $target"
    break_file "$action" "$target"
    run_case
    status=$STATUS
    elapsed_s=$(elapsed)
    problems=()
    if [ -n "${FROSTMOOR_TOUR_OBSERVE:-}" ]; then
        echo "=== $name: status $status after ${elapsed_s}s"
        headlines "$GAME_OUT"
        cat "$WORK/stderr.txt"
    fi
    [ "$status" = "$want" ] || problems+=("status $status, expected $want")
    if [ "$want" = 255 ]; then
        awk -v e="$elapsed_s" 'BEGIN { exit !(e >= 2.0) }' || problems+=("ended after $elapsed_s s, before the two-second wait")
    fi
    [ -s "$WORK/stderr.txt" ] && problems+=("standard error not empty: $(head -c 300 "$WORK/stderr.txt")")

    mapfile -t got < <(headlines "$GAME_OUT")
    expected=()
    if [ -n "$lines" ] && [ "$lines" != "-" ]; then
        IFS=$'\n' read -r -d '' -a expected < <(printf '%s' "$lines" | sed 's/ | /\n/g'; printf '\0') || true
    fi
    optional=()
    for i in "${!expected[@]}"; do
        [ "${expected[$i]:0:1}" = "~" ] || continue
        expected[i]=${expected[$i]:1}
        optional+=("$i")
    done
    if [ "${#got[@]}" -eq $((${#expected[@]} - ${#optional[@]})) ]; then
        for i in "${optional[@]}"; do unset "expected[$i]"; done
        expected=("${expected[@]}")
    fi
    if [ "${#got[@]}" -ne "${#expected[@]}" ]; then
        problems+=("${#got[@]} output lines, expected ${#expected[@]}")
    else
        for i in "${!expected[@]}"; do
            # shellcheck disable=SC2053 # the expected line is a pattern
            [[ ${got[$i]} == ${expected[$i]} ]] || problems+=("line $((i + 1)) '${got[$i]}' does not match '${expected[$i]}'")
        done
    fi

    if [ "${#problems[@]}" -gt 0 ]; then
        failures=$((failures + 1))
        echo "FAIL: $name"
        printf '    %s\n' "${problems[@]}"
        echo "    --- output ---"
        sed 's/^/    /' "$GAME_OUT" | head -n 40
    else
        echo "ok: $name (status $status, ${elapsed_s}s)"
    fi

    # Back to the pristine tree for the next case.
    rm -rf "$RUN" "$WORK/assets"
    cp -r "$PRISTINE/run" "$RUN"
    cp -r "$PRISTINE/assets" "$WORK/assets"
done <<<"$CASES"

[ "$count" -gt 0 ] || fail "no case ran"
[ "$failures" -eq 0 ] || { echo "$failures of $count cases failed"; exit 1; }
echo "ok: $count broken-file cases"

