// What the source has to say drawn on its frame: a few lines of text (OBS's own FreeType text
// source, private to this one) on a dark box at the top of the frame.
#pragma once

#include <obs.h>

#include <string>

namespace tolvek_obs {

class NoticeText {
  public:
    NoticeText();
    ~NoticeText();
    NoticeText(const NoticeText&) = delete;
    NoticeText& operator=(const NoticeText&) = delete;

    // The text shown from now on; empty: nothing. Under the graphics lock, so that no render
    // sees the text source half updated.
    void Set(const std::string& text);
    const std::string& text() const { return text_; }

    // Inside the source's render: the box and the text, scaled down to fit `width`.
    void Render(int width, int height) const;

  private:
    obs_source_t* source_ = nullptr;
    std::string text_;
};

}  // namespace tolvek_obs
