// The indexed frame made ready for painting: scaled by nearest neighbour through its colour table
// into 32-bit pixels of the size it is shown at, once per frame and size. Letting the painter
// scale an indexed image converts all of it to 32 bits on every paint, for twice the CPU.
#pragma once

#include <QImage>
#include <QSize>
#include <vector>

namespace audacious {

class ScaledFrame {
  public:
    // `indexed` (8-bit, with its colour table) at `size`; `serial` tells a new frame from the one
    // scaled last.
    const QImage& For(const QImage& indexed, int serial, QSize size);

  private:
    QImage out_;
    int serial_ = -1;
    std::vector<int> columns_;
};

}  // namespace audacious
