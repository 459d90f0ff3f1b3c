#pragma once
// Tuning for Mesa's software rasterizer, for players without a GPU. Hardware
// drivers ignore it.

// The raster threads to ask for on a machine with `cores` usable cores, or 0
// to leave the driver's choice. One more than the cores: the game's own
// thread feeds the driver on one of them, and with exactly one raster thread
// per core the scheduler often stacks two on one core while another idles;
// each batch then waits for the one held back.
int rasterThreadsFor(int cores);

// Sets LP_NUM_THREADS before the GL context exists, unless the player has
// set it. Never fails start-up.
void tuneSoftwareRenderer();
