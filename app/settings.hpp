#pragma once
// Window, camera and sound options, read once at start-up from
// "settings.ini".
#include <string>

class INIReader;

extern int screenWidth;
extern int screenHeight;
extern bool fullscreen;
extern float brightness;
extern std::string windowTitle;
extern bool freeCamera;
extern float lookSensitivity; // [camera] sensitivity: degrees of turn a cursor pixel
extern bool invertLook;       // [camera] invert y: pushing up looks down
// What F8 and F2 start at, kept by the pause menu: [audio] sound and
// [window] show fps, both on by default.
extern bool soundAtStart;
extern bool showFpsAtStart;
extern float soundVolume; // [audio] volume, 0 (silence) to 1
extern bool ghostEnabled; // [game] ghost: the best run walks beside you

// Reads every key from an already parsed file into the globals above, in the
// game's fixed order; absent or malformed values fall back to the defaults.
void readSettings(const INIReader& reader);

// Opens and reads "settings.ini" in the working directory. Returns the
// reader's parse result: negative when the file could not be read, in which
// case the two failure lines have been printed and no key was read.
int loadSettings(const char* fileName = "settings.ini");
