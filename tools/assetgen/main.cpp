// Authors the game's asset tree: assetgen <output dir>; or the menu icon,
// which is not part of the tree: assetgen --icon <file.svg>.
// Everything is computed from fixed seeds, so two runs write the same bytes.
#include <cstdio>
#include <filesystem>
#include <string>

#include "generators.hpp"

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--icon") {
        if (assetgen::makeIcon(argv[2]))
            return 0;
        std::fprintf(stderr, "assetgen: cannot write %s\n", argv[2]);
        return 1;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <asset dir> | --icon <file.svg>\n", argv[0]);
        return 2;
    }
    const std::string objects = std::string(argv[1]) + "/objects";
    const std::string sounds = std::string(argv[1]) + "/sounds";
    std::error_code error;
    std::filesystem::create_directories(sounds, error);
    if (error) {
        std::fprintf(stderr, "assetgen: cannot create %s: %s\n", sounds.c_str(),
                     error.message().c_str());
        return 1;
    }
    for (const char* sub : {"map", "snowman", "icecube", "cactus-low-poly/source",
                            "74307_Alien_Larvae", "helicopter", "rock", "skybox"}) {
        std::filesystem::create_directories(objects + "/" + sub, error);
        if (error) {
            std::fprintf(stderr, "assetgen: cannot create %s/%s: %s\n", objects.c_str(), sub,
                         error.message().c_str());
            return 1;
        }
    }
    using namespace assetgen;
    bool ok = true;
    for (auto make : {makeDesert, makeSnowman, makeHat, makeIceCube, makeCactus, makeLarva,
                      makeHelicopter, makeRocks, makeSky}) {
        ok = make(objects) && ok;
    }
    ok = makeSounds(sounds) && ok;
    if (!ok) {
        std::fprintf(stderr, "assetgen: some files could not be written under %s\n", argv[1]);
        return 1;
    }
    return 0;
}
