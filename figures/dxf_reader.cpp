// The header scan and extent reads of DxfReader.
#include "figures/dxf_reader.h"

#include <utility>

DxfReader::DxfReader(const char* name) : fileName(name != nullptr ? name : "") {
    if (auto source = FileSource::Open(name)) {
        file = std::make_unique<TextStream>(std::move(source));
    }
    ScanHeader();
}

DxfReader::DxfReader(std::string_view bytes, std::string name)
    : file(std::make_unique<TextStream>(std::make_unique<MemorySource>(bytes))),
      fileName(std::move(name)) {
    ScanHeader();
}

void DxfReader::ScanHeader() {
    if (file == nullptr)
        return;
    // Stops right after the second extent, wherever it is; the entities are searched from there.
    Token token;
    do {
        if (!file->ScanToken(token))
            continue;
        if (token.Is("$EXTMIN")) {
            ReadPoint(0);
            ++extentsFound;
        } else if (token.Is("$EXTMAX")) {
            ReadPoint(1);
            ++extentsFound;
        }
    } while (extentsFound < 2 && !file->AtEnd());
}

void DxfReader::ReadPoint(int index) {
    if (file == nullptr)
        return;
    DxfPoint& point = index == 0 ? extMin : extMax;
    int code = 0;
    for (int n = 0; n < 2;) {
        // No code at all (end of file, or a word): end here rather than read the same word again.
        if (!file->ScanInt(code))
            return;
        // Other codes are not skipped with their values: the value is read as the next code.
        if (code == 10) {
            file->ScanFloat(point.x);
            ++n;
        } else if (code == 20) {
            file->ScanFloat(point.y);
            ++n;
        }
    }
}

void DxfReader::Close() {
    file.reset();
}
