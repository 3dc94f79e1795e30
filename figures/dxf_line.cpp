// The LINE search and coordinate reads of DxfLine.
#include "figures/dxf_line.h"

namespace {

// What an fgets into a buffer of 80 bytes takes of the rest of a line.
constexpr int kLineBufferSize = 80;

}  // namespace

DxfLine::DxfLine(DxfReader& reader, int flipHeight) : flipHeight(flipHeight) {
    found = Read(reader);
}

bool DxfLine::Read(DxfReader& reader) {
    Token token;
    while (!reader.AtEnd()) {
        // Any token LINE counts, wherever it stands.
        if (reader.file->ScanToken(token) && token.Is("LINE")) {
            ReadCoordinates(reader);
            return true;
        }
    }
    return false;
}

void DxfLine::ReadCoordinates(DxfReader& reader) {
    if (reader.file == nullptr)
        return;
    TextStream& stream = *reader.file;
    int code = 0;  // counts as one of the other codes until a code is read
    for (int n = 0; n < 6;) {
        // A failed read keeps the previous code: that is how a word value line is passed over.
        if (!stream.ScanInt(code) && stream.AtEnd())
            return;
        switch (code) {
            case 10:
                stream.ScanFloat(x1);
                ++n;
                break;
            case 20:
                stream.ScanFloat(y1);
                y1 = static_cast<float>(flipHeight - static_cast<double>(y1));
                ++n;
                break;
            case 30:
                stream.ScanFloat(z1);
                ++n;
                break;
            case 11:
                stream.ScanFloat(x2);
                ++n;
                break;
            case 21:
                stream.ScanFloat(y2);
                y2 = static_cast<float>(flipHeight - static_cast<double>(y2));
                ++n;
                break;
            case 31:
                stream.ScanFloat(z2);
                ++n;
                break;
            default:
                // Normally just the line end, so the value line is read by the next "%d".
                stream.DiscardLine(kLineBufferSize);
                break;
        }
        if (stream.AtEnd())
            return;
    }
}
