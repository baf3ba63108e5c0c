#include "tests/support/x11_support.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>

#include <cstdio>
#include <cstring>

namespace testing_support {
namespace {

std::string TitleOf(Display* d, Window w) {
    Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(d, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) == Success &&
        data != nullptr && count > 0) {
        title.assign(reinterpret_cast<char*>(data), count);
    }
    if (data) XFree(data);
    if (!title.empty()) return title;
    char* name = nullptr;
    if (XFetchName(d, w, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

unsigned long Search(Display* d, Window w, const std::string& title) {
    if (TitleOf(d, w) == title) return w;
    Window root, parent, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(d, w, &root, &parent, &children, &n)) return 0;
    unsigned long found = 0;
    for (unsigned int i = 0; i < n && found == 0; ++i) found = Search(d, children[i], title);
    if (children) XFree(children);
    return found;
}

void Collect(Display* d, Window w, std::vector<std::string>* titles) {
    std::string title = TitleOf(d, w);
    if (!title.empty()) titles->push_back(title);
    Window root, parent, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(d, w, &root, &parent, &children, &n)) return;
    for (unsigned int i = 0; i < n; ++i) Collect(d, children[i], titles);
    if (children) XFree(children);
}

}  // namespace

std::vector<std::string> WindowTitles(const char* display) {
    std::vector<std::string> titles;
    Display* d = XOpenDisplay(display);
    if (d == nullptr) return titles;
    Collect(d, DefaultRootWindow(d), &titles);
    XCloseDisplay(d);
    return titles;
}

std::vector<ShownWindow> ShownWindows(const char* display) {
    std::vector<ShownWindow> shown;
    Display* d = XOpenDisplay(display);
    if (d == nullptr) return shown;
    Window root, parent, *children = nullptr;
    unsigned int n = 0;
    if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n)) {
        for (unsigned int i = 0; i < n; ++i) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(d, children[i], &attributes) && attributes.map_state == IsViewable) {
                shown.push_back({children[i], TitleOf(d, children[i])});
            }
        }
    }
    if (children) XFree(children);
    XCloseDisplay(d);
    return shown;
}

std::string DescribeWindows(const char* display) {
    std::string all = "windows on screen:";
    for (const std::string& title : WindowTitles(display)) all += " \"" + title + "\"";
    return all;
}

void Screenshot::Pixel(int x, int y, int* r, int* g, int* b) const {
    size_t i = (static_cast<size_t>(y) * width + x) * 3;
    *r = rgb[i];
    *g = rgb[i + 1];
    *b = rgb[i + 2];
}

unsigned long FindWindowByTitle(const char* display, const std::string& title) {
    Display* d = XOpenDisplay(display);
    if (d == nullptr) return 0;
    unsigned long found = Search(d, DefaultRootWindow(d), title);
    XCloseDisplay(d);
    return found;
}

bool RequestClose(const char* display, unsigned long window) {
    Display* d = XOpenDisplay(display);
    if (d == nullptr) return false;
    XEvent event;
    std::memset(&event, 0, sizeof(event));
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    Status ok = XSendEvent(d, window, False, NoEventMask, &event);
    XSync(d, False);
    XCloseDisplay(d);
    return ok != 0;
}

Screenshot GrabScreen(const char* display) {
    Screenshot shot;
    Display* d = XOpenDisplay(display);
    if (d == nullptr) return shot;
    Window root = DefaultRootWindow(d);
    XWindowAttributes attributes;
    XGetWindowAttributes(d, root, &attributes);
    XImage* image = XGetImage(d, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (image != nullptr) {
        shot.width = attributes.width;
        shot.height = attributes.height;
        shot.rgb.resize(static_cast<size_t>(shot.width) * shot.height * 3);
        for (int y = 0; y < shot.height; ++y) {
            for (int x = 0; x < shot.width; ++x) {
                unsigned long p = XGetPixel(image, x, y);
                size_t i = (static_cast<size_t>(y) * shot.width + x) * 3;
                shot.rgb[i] = static_cast<unsigned char>((p & image->red_mask) >> 16);
                shot.rgb[i + 1] = static_cast<unsigned char>((p & image->green_mask) >> 8);
                shot.rgb[i + 2] = static_cast<unsigned char>(p & image->blue_mask);
            }
        }
        XDestroyImage(image);
    }
    XCloseDisplay(d);
    return shot;
}

bool SavePng(const Screenshot& shot, const std::string& path) {
    if (!shot.Valid()) return false;
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(shot.width);
    image.height = static_cast<png_uint_32>(shot.height);
    image.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&image, path.c_str(), 0, shot.rgb.data(), 0, nullptr) != 0;
}

}  // namespace testing_support
