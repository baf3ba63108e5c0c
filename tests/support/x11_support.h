// Looking at the X server the way a person at the screen would: find a window by its title, ask it
// to close as a window manager does, and read back what the screen shows.
#ifndef GLIMMERSET_TESTS_X11_SUPPORT_H
#define GLIMMERSET_TESTS_X11_SUPPORT_H

#include <string>
#include <vector>

namespace testing_support {

struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;  // top row first
    bool Valid() const { return width > 0 && height > 0; }
    void Pixel(int x, int y, int* r, int* g, int* b) const;
};

// The id of the first top-level window whose UTF-8 title (_NET_WM_NAME, or WM_NAME) equals
// `title` on `display` (null: $DISPLAY); 0 when there is none.
unsigned long FindWindowByTitle(const char* display, const std::string& title);

// The titles of all named windows on `display`, in tree order (a message box is one of them).
std::vector<std::string> WindowTitles(const char* display);

// The top-level windows that are mapped and viewable, with their titles.
struct ShownWindow {
    unsigned long id;
    std::string title;
};
std::vector<ShownWindow> ShownWindows(const char* display);

// The same titles on one line, for failure messages.
std::string DescribeWindows(const char* display);

// Sends the WM_DELETE_WINDOW request a window manager sends when the user closes a window.
bool RequestClose(const char* display, unsigned long window);

// Reads the whole screen (root window) of `display`.
Screenshot GrabScreen(const char* display);

// Writes a screenshot as a PNG file.
bool SavePng(const Screenshot& shot, const std::string& path);

}  // namespace testing_support

#endif
