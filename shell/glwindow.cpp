#include "shell/glwindow.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstring>

// The first four fields hold from program start; the rest wait for the first construction.
PIXELFORMATDESCRIPTOR pixelFormatDescriptor = {
    sizeof(PIXELFORMATDESCRIPTOR), 1, PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER,
    PFD_TYPE_RGBA, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

namespace {

bool pixelFormatFilled = false;

void FillPixelFormatDescriptor(int colourBits) {
    pixelFormatDescriptor.cColorBits = static_cast<BYTE>(colourBits);
    pixelFormatDescriptor.cDepthBits = 16;
    pixelFormatDescriptor.cStencilBits = 8;
    pixelFormatDescriptor.iLayerType = PFD_MAIN_PLANE;
    pixelFormatFilled = true;
}

const char* const kCaption = "GLWindow::GLWindow";

}  // namespace

GLWindow::GLWindow(int width, int height, int colourBits, bool fullscreen, const char* name) {
    hWnd = nullptr;
    hDC = nullptr;
    hRC = nullptr;

    className = name;
    HINSTANCE instance = GetModuleHandleA(nullptr);

    std::memset(&windowClass, 0, sizeof(windowClass));
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WndProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = nullptr;
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = name;
    windowClass.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    if (RegisterClassExA(&windowClass) == 0) {
        MessageBoxA(nullptr, "Unable to register window class", kCaption, MB_OK);
        return;
    }

    DWORD style;
    if (fullscreen) {
        DEVMODEA mode;
        std::memset(&mode, 0, sizeof(mode));
        if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) == 0) {
            MessageBoxA(nullptr, "Unable to get displaysettings", "Error", MB_OK);
            return;
        }
        mode.dmPelsWidth = static_cast<DWORD>(width);
        mode.dmPelsHeight = static_cast<DWORD>(height);
        mode.dmBitsPerPel = static_cast<DWORD>(colourBits);
        mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
        if (ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL) {
            MessageBoxA(nullptr, "Unable to switch to fullscreen", kCaption, MB_OK);
            return;
        }
        ShowCursor(FALSE);
        style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    } else {
        style = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    }

    RECT rect = {0, 0, width, height};
    AdjustWindowRect(&rect, style, FALSE);

    hWnd = CreateWindowExA(0, name, name, style, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                           nullptr, nullptr, instance, nullptr);
    if (hWnd == nullptr) return;

    hDC = GetDC(hWnd);

    if (!pixelFormatFilled) FillPixelFormatDescriptor(colourBits);

    int format = ChoosePixelFormat(hDC, &pixelFormatDescriptor);
    if (format == 0) {
        MessageBoxA(hWnd, "Unable to find a suitable pixelformat", kCaption, MB_OK);
        return;
    }
    if (SetPixelFormat(hDC, format, &pixelFormatDescriptor) == 0) {
        MessageBoxA(hWnd, "Unable to set pixel format", kCaption, MB_OK);
        return;
    }

    hRC = wglCreateContext(hDC);
    if (hRC == nullptr) {
        MessageBoxA(hWnd, "Unable to create HRC", kCaption, MB_OK);
        return;
    }
    if (wglMakeCurrent(hDC, hRC) == 0) {
        MessageBoxA(hWnd, "Unable to select HRC", kCaption, MB_OK);
        return;
    }

    ShowWindow(hWnd, SW_SHOWNORMAL);
    UpdateWindow(hWnd);
    SetForegroundWindow(hWnd);
    SetFocus(hWnd);

    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height), 1.0, 10000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_NORMALIZE);
    glEnable(GL_CULL_FACE);
}

GLWindow::~GLWindow() {
    wglMakeCurrent(hDC, nullptr);
    wglDeleteContext(hRC);
    DestroyWindow(hWnd);
    UnregisterClassA(className, GetModuleHandleA(nullptr));
}

bool GLWindow::Update() {
    MSG msg;
    BOOL taken = PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
    if (taken && msg.message == WM_QUIT) return false;

    glFlush();
    SwapBuffers(hDC);

    if (taken) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_ERASEBKGND:
            return 0;
        case WM_CLOSE:
        case WM_KEYDOWN:
            // A close shares the key handler: only wParam 27 posts the quit message, and default
            // processing then destroys a closing window, whose WM_DESTROY quits in any case.
            if (wParam == VK_ESCAPE) PostQuitMessage(0);
            return DefWindowProcA(window, message, wParam, lParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
