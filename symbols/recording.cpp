#include "recording.h"

#include <algorithm>

#include "engines/environment.h"

namespace symbols {

void Recording::Replay(engines::Canvas& canvas) const
{
    for (const Step& step : steps_) {
        switch (step.call) {
        case Call::Brush: canvas.SetBrushColor(brushes_[step.index]); break;
        case Call::Font: canvas.SetFont(fonts_[step.index]); break;
        case Call::Fill: {
            const Fill& f = fills_[step.index];
            canvas.FillRect(f.left, f.top, f.right, f.bottom);
            break;
        }
        case Call::Text: {
            const Text& t = texts_[step.index];
            if (!canvas.TextOut(t.x, t.y, t.text) && t.toldWhenRefused)
                engines::ShowEngineNotice("Error Code is " + std::to_string(engines::LastSystemError()));
            break;
        }
        }
    }
}

void Recording::TellFirstTextRefused()
{
    if (!texts_.empty()) texts_.front().toldWhenRefused = true;
}

void Recorder::SetBrushColor(engines::Rgb color)
{
    brush_ = color;
    recording_->steps_.push_back({Recording::Call::Brush, std::uint32_t(recording_->brushes_.size())});
    recording_->brushes_.push_back(color);
}

void Recorder::SetFont(const engines::Font& font)
{
    font_ = font;
    recording_->steps_.push_back({Recording::Call::Font, std::uint32_t(recording_->fonts_.size())});
    recording_->fonts_.push_back(font);
}

void Recorder::FillRect(int left, int top, int right, int bottom)
{
    recording_->steps_.push_back({Recording::Call::Fill, std::uint32_t(recording_->fills_.size())});
    recording_->fills_.push_back({left, top, right, bottom, brush_});
    FillExtent& e = recording_->extent_;
    ++e.count;
    e.narrow = e.narrow || right <= left;
    e.low = e.low || bottom <= top;
    e.minLeft = std::min(e.minLeft, left);
    e.maxRight = std::max(e.maxRight, right);
    e.minTop = std::min(e.minTop, top);
    e.shortestBottom = std::min(e.shortestBottom, bottom);
}

bool Recorder::TextOut(int x, int y, const std::string& text)
{
    recording_->steps_.push_back({Recording::Call::Text, std::uint32_t(recording_->texts_.size())});
    recording_->texts_.push_back({x, y, text, brush_, font_, false});
    return true;
}

std::shared_ptr<Recording> Recorder::Finish()
{
    auto done = std::move(recording_);
    recording_ = std::make_shared<Recording>();
    brush_ = engines::kWhite;
    font_ = {};
    return done;
}

}  // namespace symbols
