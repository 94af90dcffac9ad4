#pragma once

// Registers the program's compiled-in icons under ":/"; a static library's resources
// are not registered on their own. Call once before the first icon is loaded.
void initSlideshowResources();
