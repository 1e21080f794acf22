// Where texts and bars ended up on the picture against where a scanner needs them:
// texts cut off or run into the bars, bars cut off by page values below zero, and a
// UPC-E message that is not the standard short form of its number.
#include "scanparts.h"

#include <cmath>

#include "engines/Tupce_unit.h"

namespace symbols::scan {

namespace {

struct TextGroup {
    const char* subject;  // of the hint's sentence
    const char* name;     // in the line
    bool plural;
    double fromBars;      // interval leverage away from the bars
    double roomBelow;     // interval leverage of the room below, to the bottom edge
    std::vector<const PlacedText*> texts;
};

// The add-on is drawn last, one digit a text; the comment is the topmost text that
// reads like it; every other text is a human-readable character.
std::vector<TextGroup> GroupTexts(const Report& r)
{
    const BuiltSymbol& built = r.built;
    const IntervalLeverage& lever = built.leverage;
    TextGroup comment{"The comment line", "comment line", false, lever.commentFromBars, 0, {}};
    TextGroup characters{"The human-readable characters", "characters", true, lever.charactersFromBars,
                         lever.roomBelowCharacters, {}};
    TextGroup addOn{"The add-on digits", "add-on digits", true, lever.addOnDigitsFromBars, 0, {}};
    const auto& texts = r.texts;
    const std::size_t addOnFirst = texts.size() - std::min(texts.size(), std::size_t(built.addOn.size()));
    const PlacedText* commentText = nullptr;
    for (std::size_t i = 0; i < addOnFirst; ++i)
        if (!built.comment.isEmpty() && QString::fromStdString(texts[i].text) == built.comment &&
            (!commentText || texts[i].at.y() < commentText->at.y()))
            commentText = &texts[i];
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i >= addOnFirst)
            addOn.texts.push_back(&texts[i]);
        else if (&texts[i] == commentText)
            comment.texts.push_back(&texts[i]);
        else
            characters.texts.push_back(&texts[i]);
    }
    return {characters, addOn, comment};
}

QString Verb(const TextGroup& group, const char* singular, const char* plural)
{
    return QString::fromLatin1(group.plural ? plural : singular);
}

void TextOutside(Report& r, const TextGroup& group)
{
    const QRect frame = r.picture.rect();
    int bottom = 0, right = 0, left = 0, top = 0, inked = 0, shown = 0;
    for (const auto* text : group.texts) {
        if (text->ink.isNull()) continue;
        ++inked;
        if (text->ink.intersects(frame)) ++shown;
        bottom = std::max(bottom, text->ink.bottom() - frame.bottom());
        right = std::max(right, text->ink.right() - frame.right());
        left = std::max(left, frame.left() - text->ink.left());
        top = std::max(top, frame.top() - text->ink.top());
    }
    if (inked == 0 || (bottom <= 0 && right <= 0 && left <= 0 && top <= 0)) return;
    QStringList cuts, changes;
    if (bottom > 0) {
        cuts << QStringLiteral("%1 pixel rows below the bottom edge").arg(bottom);
        if (const QString change = IntervalChange(r, bottom, group.roomBelow); !change.isEmpty())
            changes << change;
        changes << QStringLiteral("raise the Down Blank Space by %1 mils").arg(r.MilsToAdd(bottom));
    }
    if (right > 0) {
        cuts << QStringLiteral("%1 columns beyond the right edge").arg(right);
        changes << QStringLiteral("raise the Right Blank Space by %1 mils").arg(r.MilsToAdd(right));
    }
    if (left > 0) {
        cuts << QStringLiteral("%1 columns beyond the left edge").arg(left);
        changes << QStringLiteral("raise the Left Blank Space by %1 mils").arg(r.MilsToAdd(left));
    }
    if (top > 0) {
        cuts << QStringLiteral("%1 pixel rows above the top edge").arg(top);
        changes << QStringLiteral("raise the Top Blank Space by %1 mils").arg(r.MilsToAdd(top));
    }
    const QString how = shown == 0 ? Verb(group, "falls wholly outside the picture and does not show",
                                          "fall wholly outside the picture, so none of them shows")
                                   : Verb(group, "falls partly outside the picture", "fall partly outside the picture");
    r.Hint(QString::fromLatin1(group.name) + QStringLiteral(" outside"),
           QStringLiteral("%1 %2 (%3): %4.")
               .arg(QString::fromLatin1(group.subject), how, cuts.join(QStringLiteral(", ")),
                    changes.join(QStringLiteral(", or "))));
}

void TextIntoBars(Report& r, const TextGroup& group)
{
    int rows = 0;
    bool beside = false;
    for (const auto* text : group.texts) {
        for (const QRect& bar : r.bars) {
            const QRect both = text->ink & bar;
            if (both.isEmpty()) continue;
            int top = INT_MAX, bottom = INT_MIN;
            for (int y = both.top(); y <= both.bottom(); ++y) {
                const auto* row = reinterpret_cast<const QRgb*>(text->drawn.constScanLine(y - text->at.y()));
                for (int x = both.left(); x <= both.right(); ++x)
                    if (row[x - text->at.x()] != text->box) {
                        top = std::min(top, y);
                        bottom = std::max(bottom, y);
                    }
            }
            if (bottom == INT_MIN) continue;
            if (text->ink.top() >= bar.top() && text->ink.bottom() <= bar.bottom())
                beside = true;
            else if (text->ink.center().y() < bar.center().y())
                rows = std::max(rows, bottom - bar.top() + 1);
            else
                rows = std::max(rows, bar.bottom() - top + 1);
        }
    }
    if (!beside && rows == 0) return;
    const QString change = beside ? QString() : IntervalChange(r, rows, group.fromBars);
    const QString into = beside ? QStringLiteral("into the bars beside them")
                                : QStringLiteral("%1 pixel rows into the bars").arg(rows);
    r.Hint(QString::fromLatin1(group.name) + QStringLiteral(" in the bars"),
           QStringLiteral("%1 %2 %3: %4.")
               .arg(QString::fromLatin1(group.subject), Verb(group, "runs", "run"), into,
                    change.isEmpty() ? QStringLiteral("choose a smaller font") : change));
}

// Six UPC-E digits that are not the standard short form of their number are drawn and
// scan as that number, but other generators and some checkers refuse them.
void UpceShortForm(Report& r)
{
    if (r.built.symbology != symbols::Kind::UpcE || r.built.number.size() != 8) return;
    const std::string six = r.built.number.mid(1, 6).toStdString();
    const std::string number = engines::Tupce::Expand(six);
    const std::string form = engines::Tupce::StandardForm(number);
    if (form.empty() || form == six) return;
    r.Hint(QStringLiteral("short form"),
           QStringLiteral("%1 is not the standard short form of UPC-A %2%3, which other generators refuse: "
                          "the standard form of the same number is %4.")
               .arg(QString::fromStdString(six), QString::fromStdString(number), r.built.number.right(1),
                    QString::fromStdString(form)));
}

// Bars are only cut off by page values below zero, which can be pasted.
void BarsOutside(Report& r)
{
    const QRect frame = r.picture.rect();
    int bottom = 0, right = 0, left = 0, top = 0;
    for (const QRect& bar : r.bars) {
        bottom = std::max(bottom, bar.bottom() - frame.bottom());
        right = std::max(right, bar.right() - frame.right());
        left = std::max(left, frame.left() - bar.left());
        top = std::max(top, frame.top() - bar.top());
    }
    const auto side = [&](int pixels, const char* edge, const char* blankSpace) {
        if (pixels <= 0) return;
        const bool addOn = !r.built.addOn.isEmpty() && QString::fromLatin1(edge) == QStringLiteral("right");
        r.Hint(addOn ? QStringLiteral("add-on outside") : QStringLiteral("bars outside"),
               QStringLiteral("%1 outside the picture (%2 pixels beyond the %3 edge): raise the %4 by %5 mils.")
                   .arg(addOn ? QStringLiteral("The add-on falls") : QStringLiteral("The bars fall"))
                   .arg(pixels)
                   .arg(QString::fromLatin1(edge), QString::fromLatin1(blankSpace))
                   .arg(r.MilsToAdd(pixels)));
    };
    side(left, "left", "Left Blank Space");
    side(right, "right", "Right Blank Space");
    side(top, "top", "Top Blank Space");
    side(bottom, "bottom", "Down Blank Space");
}

}  // namespace

void LayoutFaults(Report& r)
{
    for (const TextGroup& group : GroupTexts(r)) {
        TextOutside(r, group);
        TextIntoBars(r, group);
    }
    BarsOutside(r);
    UpceShortForm(r);
}

}  // namespace symbols::scan
