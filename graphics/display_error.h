// The report of a display failure: a message box naming the error, then the quit request.
#pragma once

#include "platform/win32.h"

struct DisplayErrorName {
    HRESULT code;
    const char* text;
};

// The 100 result codes the report knows by name.
extern const DisplayErrorName displayErrorNames[100];

// The published name of a result code, or "Unknown Error".
const char* DisplayErrorText(HRESULT code);

void ReportDisplayError(HRESULT code, HWND window);
