// Builders of DXF text and temporary files for the figure tests.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace dxf_text {

// A group as a DXF file holds it: the code on one line, the value on the next.
inline std::string Group(int code, const std::string& value) {
    return std::to_string(code) + "\n" + value + "\n";
}

inline std::string Header(const std::string& minX = "0", const std::string& minY = "0",
                          const std::string& maxX = "640", const std::string& maxY = "480") {
    return Group(0, "SECTION") + Group(2, "HEADER") + Group(9, "$EXTMIN") + Group(10, minX) +
           Group(20, minY) + Group(30, "0.0") + Group(9, "$EXTMAX") + Group(10, maxX) +
           Group(20, maxY) + Group(30, "0.0") + Group(0, "ENDSEC") + Group(0, "SECTION") +
           Group(2, "ENTITIES");
}

inline std::string Line(const std::string& x1, const std::string& y1, const std::string& x2,
                        const std::string& y2, const std::string& layer = "0") {
    return Group(0, "LINE") + Group(8, layer) + Group(10, x1) + Group(20, y1) + Group(30, "0.0") +
           Group(11, x2) + Group(21, y2) + Group(31, "0.0");
}

inline std::string Footer() {
    return Group(0, "ENDSEC") + Group(0, "EOF");
}

inline std::string WithDosLineEnds(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// A file in the test's temporary folder, removed again when the object goes.
class TempFile {
  public:
    explicit TempFile(const std::string& name)
        : path_(std::filesystem::path(::testing::TempDir()) / ("tolvek_figures_" + name)) {}
    ~TempFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string name() const { return path_.string(); }

  private:
    std::filesystem::path path_;
};

}  // namespace dxf_text
