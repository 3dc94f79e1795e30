// DxfLine: one LINE entity of a DXF drawing, its y mirrored about a height.
#pragma once

#include "figures/dxf_entity.h"
#include "figures/dxf_reader.h"

class DxfLine : public DxfEntity {
  public:
    // Reads the next LINE from the reader's position; found tells whether there was one.
    DxfLine(DxfReader& reader, int flipHeight);

    // Searches on for the next token LINE and reads its coordinates; false at the end of file.
    bool Read(DxfReader& reader);
    void ReadCoordinates(DxfReader& reader);

    // Coordinates a LINE cut short by the end of the file never received stay 0.
    float x1 = 0.0f;
    float y1 = 0.0f;
    float z1 = 0.0f;
    float x2 = 0.0f;
    float y2 = 0.0f;
    float z2 = 0.0f;
    int flipHeight;
    bool found = false;
};
