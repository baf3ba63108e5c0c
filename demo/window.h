#ifndef GLIMMERSET_DEMO_WINDOW_H
#define GLIMMERSET_DEMO_WINDOW_H

// A demo-time window of the timeline: the lower bound is excluded, the upper one included, so a
// boundary time belongs to the earlier window.
inline bool InWindow(float t, float lower, float upper) { return t > lower && t <= upper; }

#endif
