// The window and message layer the plug-in and its host share, under the Win32 names and values.
#pragma once

#ifdef _WIN32
#include <windows.h>
#define TOLVEK_PLATFORM_API
// The .def file names what the DLL exports.
#define TOLVEK_EXPORT
#else

#include <cstddef>
#include <cstdint>

#define TOLVEK_PLATFORM_API __attribute__((visibility("default")))
// What a plug-in library exports to its host.
#define TOLVEK_EXPORT __attribute__((visibility("default")))
#define WINAPI
#define CALLBACK

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using UINT = unsigned int;
using BOOL = int;
using ATOM = WORD;
using HRESULT = LONG;
using LONG_PTR = std::intptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LPVOID = void*;
using LPCSTR = const char*;
using LPSTR = char*;
using HANDLE = void*;
using HFILE = int;

struct HWND__;
struct HINSTANCE__;
struct HDC__;
struct HGDIOBJ__;
struct HMENU__;
struct HICON__;
struct HBRUSH__;
struct HRSRC__;
struct HGLOBAL__;
struct HDROP__;
using HWND = HWND__*;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
using HDC = HDC__*;
using HGDIOBJ = HGDIOBJ__*;
using HBITMAP = HGDIOBJ;
using HMENU = HMENU__*;
using HICON = HICON__*;
using HCURSOR = HICON;
using HBRUSH = HBRUSH__*;
using HRSRC = HRSRC__*;
using HGLOBAL = HGLOBAL__*;
using HDROP = HDROP__*;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
#define MAX_PATH 260

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPRECT = RECT*;

struct POINT {
    LONG x;
    LONG y;
};

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);

struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};

// Messages.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_DROPFILES = 0x0233;
constexpr UINT WM_USER = 0x0400;

// Virtual-key codes the show and the player use.
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_F1 = 0x70;

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_OVERLAPPEDWINDOW = 0x00CF0000;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);
constexpr int GWLP_USERDATA = -21;
constexpr UINT GW_OWNER = 4;

// ShowWindow and SetWindowPos.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_RESTORE = 9;
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;

// PeekMessage and MessageBox.
constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_ICONERROR = 0x00000010;
constexpr int IDOK = 1;

// Result codes of the component object model.
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0);

extern "C" {
// Window classes and windows.
TOLVEK_PLATFORM_API ATOM RegisterClassA(const WNDCLASSA* windowClass);
TOLVEK_PLATFORM_API BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
TOLVEK_PLATFORM_API HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName,
                                         DWORD style, int x, int y, int width, int height,
                                         HWND parent, HMENU menu, HINSTANCE instance,
                                         LPVOID param);
TOLVEK_PLATFORM_API BOOL DestroyWindow(HWND window);
TOLVEK_PLATFORM_API BOOL IsWindow(HWND window);
// A host finds the windows a plug-in opened through their owner.
TOLVEK_PLATFORM_API BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam);
TOLVEK_PLATFORM_API HWND GetWindow(HWND window, UINT command);
TOLVEK_PLATFORM_API LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value);
TOLVEK_PLATFORM_API LONG_PTR GetWindowLongPtrA(HWND window, int index);
TOLVEK_PLATFORM_API BOOL GetClientRect(HWND window, LPRECT rect);
TOLVEK_PLATFORM_API BOOL GetWindowRect(HWND window, LPRECT rect);
TOLVEK_PLATFORM_API BOOL ClientToScreen(HWND window, POINT* point);
TOLVEK_PLATFORM_API BOOL OffsetRect(LPRECT rect, int dx, int dy);
TOLVEK_PLATFORM_API BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width,
                                      int height, UINT flags);
TOLVEK_PLATFORM_API BOOL ShowWindow(HWND window, int command);
TOLVEK_PLATFORM_API BOOL UpdateWindow(HWND window);
TOLVEK_PLATFORM_API HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
TOLVEK_PLATFORM_API BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);

// Messages.
TOLVEK_PLATFORM_API BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
TOLVEK_PLATFORM_API LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
TOLVEK_PLATFORM_API void PostQuitMessage(int exitCode);
TOLVEK_PLATFORM_API BOOL PeekMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax,
                                      UINT removeFlags);
TOLVEK_PLATFORM_API BOOL TranslateMessage(const MSG* message);
TOLVEK_PLATFORM_API LRESULT DispatchMessageA(const MSG* message);
TOLVEK_PLATFORM_API LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam);
TOLVEK_PLATFORM_API int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
TOLVEK_PLATFORM_API BOOL SetWindowTextA(HWND window, LPCSTR text);

// Files dropped on a window: WM_DROPFILES reaches the nearest window, the one dropped on or its
// owner, that accepts files; wParam is the drop, freed by DragFinish.
TOLVEK_PLATFORM_API void DragAcceptFiles(HWND window, BOOL accept);
// With index 0xFFFFFFFF the number of files; otherwise the length of that file's name, which is
// copied into `file` (cut to size - 1 characters and ended) when `file` is not null.
TOLVEK_PLATFORM_API UINT DragQueryFileA(HDROP drop, UINT index, LPSTR file, UINT size);
TOLVEK_PLATFORM_API void DragFinish(HDROP drop);

// Device contexts: the desktop's colour depth.
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
TOLVEK_PLATFORM_API HDC GetDC(HWND window);
TOLVEK_PLATFORM_API int ReleaseDC(HWND window, HDC dc);
TOLVEK_PLATFORM_API int GetDeviceCaps(HDC dc, int index);

// Modules, settings files, the debugger channel and resources.
TOLVEK_PLATFORM_API DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
TOLVEK_PLATFORM_API HMODULE GetModuleHandleA(LPCSTR moduleName);
TOLVEK_PLATFORM_API UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, int defaultValue,
                                               LPCSTR fileName);
TOLVEK_PLATFORM_API void OutputDebugStringA(LPCSTR text);
TOLVEK_PLATFORM_API void Sleep(DWORD milliseconds);
}

// GDI pictures: the image loader, memory drawing contexts and the stretched copy.
struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};

#pragma pack(push, 2)
struct BITMAPFILEHEADER {
    WORD bfType;
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
};
#pragma pack(pop)

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_RLE8 = 1;
constexpr DWORD BI_RLE4 = 2;
constexpr DWORD BI_BITFIELDS = 3;
constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT LR_DEFAULTCOLOR = 0x00000000;
constexpr UINT LR_LOADFROMFILE = 0x00000010;
constexpr UINT LR_CREATEDIBSECTION = 0x00002000;
constexpr DWORD SRCCOPY = 0x00CC0020;

// Resources and the old file handles.
#define MAKEINTRESOURCEA(i) (reinterpret_cast<LPSTR>(static_cast<std::uintptr_t>(static_cast<WORD>(i))))
#define RT_BITMAP MAKEINTRESOURCEA(2)
constexpr HFILE HFILE_ERROR = -1;
constexpr int OF_READ = 0x0000;

extern "C" {
TOLVEK_PLATFORM_API HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width,
                                      int height, UINT flags);
TOLVEK_PLATFORM_API int GetObjectA(HGDIOBJ object, int size, LPVOID out);
TOLVEK_PLATFORM_API HDC CreateCompatibleDC(HDC dc);
TOLVEK_PLATFORM_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
TOLVEK_PLATFORM_API BOOL StretchBlt(HDC target, int xTarget, int yTarget, int widthTarget,
                                    int heightTarget, HDC source, int xSource, int ySource,
                                    int widthSource, int heightSource, DWORD rop);
TOLVEK_PLATFORM_API BOOL DeleteDC(HDC dc);
TOLVEK_PLATFORM_API BOOL DeleteObject(HGDIOBJ object);

TOLVEK_PLATFORM_API HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
TOLVEK_PLATFORM_API HGLOBAL LoadResource(HMODULE module, HRSRC resource);
TOLVEK_PLATFORM_API LPVOID LockResource(HGLOBAL resource);
TOLVEK_PLATFORM_API DWORD SizeofResource(HMODULE module, HRSRC resource);
TOLVEK_PLATFORM_API HFILE _lopen(LPCSTR path, int mode);
TOLVEK_PLATFORM_API UINT _lread(HFILE file, LPVOID buffer, UINT bytes);
TOLVEK_PLATFORM_API HFILE _lclose(HFILE file);
}

#endif
