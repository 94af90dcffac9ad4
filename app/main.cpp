#include "app/SlideshowMain.h"

// ty_slideshow: no options of its own; a second start wakes the running instance and ends.
int main(int argc, char** argv)
{
    return runSlideshow(argc, argv);
}
