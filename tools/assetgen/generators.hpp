#pragma once
// One entry per family of assets; each writes its files under `objects`
// (the asset tree's "objects" folder) and returns false on a write failure.
#include <string>

namespace assetgen {

// The snowman stands this tall in his own file; the hat generator needs it to
// put the brim on his head.
inline constexpr float snowmanHeight = 2.40f;
// Height on his head where the brim rests (the head is round, so the hat
// sits a little below the crown of the head).
inline constexpr float hatSeat = 2.31f;

bool makeDesert(const std::string& objects);
bool makeSnowman(const std::string& objects);
bool makeHat(const std::string& objects);
bool makeIceCube(const std::string& objects);
bool makeCactus(const std::string& objects);
bool makeLarva(const std::string& objects);
bool makeHelicopter(const std::string& objects);
bool makeRocks(const std::string& objects);
bool makeSky(const std::string& objects);

// Unlike the others, writes into the asset tree's "sounds" folder.
bool makeSounds(const std::string& sounds);

// The menu icon, a drawing of the snowman, as one SVG file at `path`.
bool makeIcon(const std::string& path);

} // namespace assetgen
