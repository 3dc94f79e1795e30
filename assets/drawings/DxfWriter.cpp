// DXF text of a Drawing.
#include "assets/drawings/DxfWriter.h"

#include <cstdio>
#include <fstream>
#include <ostream>
#include <vector>

namespace drawings {
namespace {

class GroupWriter {
  public:
    void Group(int code, const std::string& value) {
        char line[16];
        std::snprintf(line, sizeof line, "%3d\n", code);
        text_ += line;
        text_ += value;
        text_ += '\n';
    }
    void Group(int code, double value) {
        char number[64];
        std::snprintf(number, sizeof number, "%.3f", value);
        // No "-0.000": a value that rounds to zero is written as zero.
        Group(code, std::string(number) == "-0.000" ? "0.000" : number);
    }
    void Point(int code, drawings::Point p) {
        Group(code, p.x);
        Group(code + 10, p.y);
        Group(code + 20, 0.0);
    }
    std::string Take() { return std::move(text_); }

  private:
    std::string text_;
};

// Layers in order of first use, each with its own colour for other DXF viewers.
std::vector<std::string> LayersOf(const Drawing& drawing) {
    std::vector<std::string> layers;
    for (const Segment& s : drawing.segments()) {
        bool known = false;
        for (const auto& layer : layers)
            known = known || layer == s.layer;
        if (!known)
            layers.push_back(s.layer);
    }
    return layers;
}

}  // namespace

std::string DxfText(const Drawing& drawing) {
    GroupWriter out;
    out.Group(0, "SECTION");
    out.Group(2, "HEADER");
    out.Group(9, "$ACADVER");
    out.Group(1, "AC1009");
    out.Group(9, "$INSBASE");
    out.Point(10, {0.0, 0.0});
    out.Group(9, "$EXTMIN");
    out.Point(10, drawing.Min());
    out.Group(9, "$EXTMAX");
    out.Point(10, drawing.Max());
    out.Group(0, "ENDSEC");

    const auto layers = LayersOf(drawing);
    out.Group(0, "SECTION");
    out.Group(2, "TABLES");
    out.Group(0, "TABLE");
    out.Group(2, "LAYER");
    out.Group(70, std::to_string(layers.size()));
    for (std::size_t i = 0; i < layers.size(); ++i) {
        out.Group(0, "LAYER");
        out.Group(2, layers[i]);
        out.Group(70, "0");
        out.Group(62, std::to_string(1 + i % 7));
        out.Group(6, "CONTINUOUS");
    }
    out.Group(0, "ENDTAB");
    out.Group(0, "ENDSEC");

    out.Group(0, "SECTION");
    out.Group(2, "ENTITIES");
    for (const Segment& s : drawing.segments()) {
        out.Group(0, "LINE");
        out.Group(8, s.layer);
        out.Point(10, s.a);
        out.Point(11, s.b);
    }
    out.Group(0, "ENDSEC");
    out.Group(0, "EOF");
    return out.Take();
}

bool WriteDxf(const Drawing& drawing, const std::string& file, std::ostream& errors) {
    std::ofstream out(file, std::ios::binary);
    out << DxfText(drawing);
    out.close();
    if (!out) {
        errors << file << ": cannot write the drawing\n";
        return false;
    }
    return true;
}

}  // namespace drawings
