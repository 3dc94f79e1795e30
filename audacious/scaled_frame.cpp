// Nearest-neighbour scaling through the colour table.
#include "audacious/scaled_frame.h"

#include <cstring>

namespace audacious {

const QImage& ScaledFrame::For(const QImage& indexed, int serial, QSize size) {
    if (indexed.isNull() || size.isEmpty()) {
        out_ = QImage();
        return out_;
    }
    if (serial == serial_ && out_.size() == size)
        return out_;
    serial_ = serial;
    if (out_.size() != size) {
        out_ = QImage(size, QImage::Format_RGB32);
        columns_.resize(static_cast<std::size_t>(size.width()));
        for (int x = 0; x < size.width(); ++x)
            columns_[static_cast<std::size_t>(x)] = x * indexed.width() / size.width();
    }
    QVector<QRgb> table = indexed.colorTable();
    table.resize(256);
    int previousSource = -1;
    for (int y = 0; y < size.height(); ++y) {
        const int source = y * indexed.height() / size.height();
        auto* row = reinterpret_cast<QRgb*>(out_.scanLine(y));
        if (source == previousSource) {
            std::memcpy(row, out_.constScanLine(y - 1), static_cast<std::size_t>(size.width()) * 4);
            continue;
        }
        previousSource = source;
        const uchar* indices = indexed.constScanLine(source);
        for (int x = 0; x < size.width(); ++x)
            row[x] = table[indices[columns_[static_cast<std::size_t>(x)]]] | 0xFF000000u;
    }
    return out_;
}

}  // namespace audacious
