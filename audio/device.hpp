#pragma once
// The sound device and its context. A machine without a sound card is
// normal for this game: it then plays on silently.

// Opens the default device and makes a context on it current. Returns false,
// having printed nothing, when there is no device to open.
bool openSoundDevice();

// Releases the context and the device, if they were opened.
void closeSoundDevice();
