// DxfReader: a token reader over a DXF text file that takes the drawing extents from its header.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "figures/text_stream.h"

struct DxfPoint {
    float x = 0.0f;
    float y = 0.0f;
};

class DxfReader {
  public:
    // Opens the file as text and scans its header; a file that cannot be opened gives a reader
    // with no stream.
    explicit DxfReader(const char* fileName);
    // The same over bytes in memory; name is only used in messages.
    DxfReader(std::string_view bytes, std::string name);
    DxfReader(const DxfReader&) = delete;
    DxfReader& operator=(const DxfReader&) = delete;

    // One extent point from groups 10 and 20: index 0 fills extMin, 1 fills extMax.
    void ReadPoint(int index);
    void Close();
    // The stream's end-of-file indicator; a reader with no stream is at its end.
    bool AtEnd() const { return file == nullptr || file->AtEnd(); }

    std::unique_ptr<TextStream> file;
    DxfPoint extMin;
    DxfPoint extMax;
    // How many of $EXTMIN and $EXTMAX the header scan met (2 when it stopped on them).
    int extentsFound = 0;
    std::string fileName;

  private:
    void ScanHeader();
};
