#pragma once
// The sample information base that the examples, the main job and the Windows tests run on: two
// halls and a bar counter, a background picture for hall 2, the open and closed orders of two
// waiters, and the host's list of the base's users. Plans and markers are written through the
// add-in's own plan writer and marker formats, so the sample is exactly what the configuration
// and the editor would leave behind.
#include <string>

namespace klt::sample {

// Hall 2's background picture: an 8-bit palette bitmap of the plan's size, drawn here.
std::string HallTwoPicture();

// The host's user list of the sample: four users in the brace list inside a container's bytes.
std::string UserList();

// Writes the sample into the information base directory `ib` (a host path), creating the folders.
// The sample's own kinds of files already there (plans, the picture, order and reservation
// markers) are removed first, so a renamed order leaves no stale marker behind. False when a
// folder or a file cannot be written.
bool WriteSampleBase(const std::string& ib);

}  // namespace klt::sample
