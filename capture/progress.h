#ifndef GLIMMERSET_CAPTURE_PROGRESS_H
#define GLIMMERSET_CAPTURE_PROGRESS_H

#include <string>

// One line of the progress bar: "[#####.....]  120/4260 frames  2.0 s elapsed, about 68.9 s left".
std::string ProgressLine(int done, int total, double elapsedSeconds);

#endif
