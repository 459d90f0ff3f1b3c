#include "app/settings.hpp"

#include <INIReader.h>

#include <cfloat>
#include <iostream>

int screenWidth = 1024;
int screenHeight = 768;
bool fullscreen = false;
float brightness = 1.0f;
std::string windowTitle = "Frostmoor";
bool freeCamera = true;
float lookSensitivity = 0.1f;
bool invertLook = false;
bool soundAtStart = true;
bool showFpsAtStart = true;
float soundVolume = 0.8f;
bool ghostEnabled = true;

void readSettings(const INIReader& reader) {
    screenWidth = static_cast<int>(reader.GetInteger("window", "width", 1024));
    screenHeight = static_cast<int>(reader.GetInteger("window", "height", 768));
    fullscreen = reader.GetBoolean("window", "fullscreen", false);
    // Read for completeness; the refresh-rate hint stays at 60.
    (void)reader.GetReal("window", "refresh rate", 60.0);
    // Negative light, or a value past what a float holds ("nan", "1e999"),
    // would shade every surface wrong; those fall back too.
    const double light = reader.GetReal("window", "brightness", 1.0);
    brightness = light >= 0.0 && light <= FLT_MAX ? static_cast<float>(light) : 1.0f;
    freeCamera = reader.GetBoolean("camera", "free", true);
    windowTitle = reader.Get("window", "title", "Frostmoor");
    // A volume outside 0 to 1, or not a number, falls back like the others.
    const double volume = reader.GetReal("audio", "volume", 0.8);
    soundVolume = volume >= 0.0 && volume <= 1.0 ? static_cast<float>(volume) : 0.8f;
    ghostEnabled = reader.GetBoolean("game", "ghost", true);
    // A turn of nothing, or of more than ten degrees a pixel, is no look.
    const double sensitivity = reader.GetReal("camera", "sensitivity", 0.1);
    lookSensitivity =
        sensitivity > 0.0 && sensitivity <= 10.0 ? static_cast<float>(sensitivity) : 0.1f;
    invertLook = reader.GetBoolean("camera", "invert y", false);
    soundAtStart = reader.GetBoolean("audio", "sound", true);
    showFpsAtStart = reader.GetBoolean("window", "show fps", true);
}

int loadSettings(const char* fileName) {
    INIReader reader(fileName);
    const int result = reader.ParseError();
    if (result < 0) {
        std::cout << "WARNING: " << fileName << " not found! Using defaults instead." << std::endl;
        std::cout << "Failed to load '" << fileName << "'" << std::endl;
        return result;
    }
    readSettings(reader);
    return result;
}
