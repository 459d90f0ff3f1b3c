#pragma once
// The game's sounds and their files under "../assets/sounds/": the one list
// that the game plays from and the asset generator makes, so that neither
// can gain a sound the other lacks.

enum SoundId { Wind, Footstep, Chime, Sizzle, Melt, Rotor, Fanfare, Thud, SoundCount };

inline constexpr const char* soundFiles[SoundCount] = {"wind.wav",    "footstep.wav", "chime.wav",
                                                       "sizzle.wav",  "melt.wav",     "rotor.wav",
                                                       "fanfare.wav", "thud.wav"};
