// Surface: an 8-bit rectangle of palette indices with locked pixel and line drawing and platform
// copies onto other surfaces.
#pragma once

#include "platform/ddraw.h"

class Screen;

class Surface {
public:
    Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // A blank off-screen surface; 1 on success, 0 after reporting the display's refusal.
    int Create(Screen* screen, int width, int height);

    HRESULT Lock();
    HRESULT Unlock();
    // Only between Lock and Unlock; pixels outside the locked area are dropped.
    void PutPixel(int x, int y, int colour) {
        if (x >= 0 && y >= 0 && x < static_cast<int>(desc.dwWidth) &&
            y < static_cast<int>(desc.dwHeight)) {
            static_cast<BYTE*>(desc.lpSurface)[y * desc.lPitch + x] = static_cast<BYTE>(colour);
        }
    }
    void DrawLine(int x1, int y1, int x2, int y2, int colour);

    HRESULT Fill(int colour);
    HRESULT SetColorKey(int colour);
    HRESULT Restore();

    // The copies, in their fixed slot order.
    virtual HRESULT Draw(Surface* target);
    virtual HRESULT DrawAt(int x, int y, Surface* target);
    virtual HRESULT DrawKeyedAt(int x, int y, Surface* target);
    virtual HRESULT DrawKeyedClipped(int x, int y, Surface* target, RECT clip);
    virtual HRESULT DrawToWindow(Surface* target);
    virtual HRESULT DrawScaledKeyed(int x, int y, float scale, Surface* target);
    virtual HRESULT MirrorLeftRight(int, int, int);
    virtual HRESULT MirrorUpDown(int, int, int);
    virtual void NoOp(int, int, int, int, int);
    // Declared after the nine copies so they keep their slots.
    virtual ~Surface();

    int width = 0;
    int height = 0;
    const char* fileName = nullptr;  // not owned; must outlive the surface
    int colorKey = -1;
    RECT srcRect{};
    RECT dstRect{};
    DDSURFACEDESC desc{};
    IDirectDrawSurface* surface = nullptr;
    Screen* screen = nullptr;

private:
    // A lost source is restored on the spot; the result stays that of the copy.
    HRESULT RestoreIfLost(HRESULT result);
};
