#include "ui/TextField.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTextLayout>
#include <algorithm>

#include "PainterState.h"
#include "PlatformEvent.h"
#include "QtConversions.h"
#include "TextFieldLayout.h"
#include "ui/Application.h"
#include "ui/Timer.h"

namespace ui {
namespace {

constexpr double blinkSeconds = 0.5;

// A QLineEdit that is never shown: it does the editing (keys, selection,
// clipboard, undo), we do the drawing inside our own tree.
class EditingEngine : public QLineEdit {
 public:
  using QLineEdit::inputMethodEvent;
  using QLineEdit::keyPressEvent;
};

bool isLineBreak(QChar c) {
  return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator || c == u'\v' ||
         c == u'\f';
}

// Line breaks at the ends are dropped, each inner run of them becomes one space.
QString singleLine(const QString& text) {
  qsizetype first = 0, last = text.size();
  while (first < last && isLineBreak(text[first])) ++first;
  while (last > first && isLineBreak(text[last - 1])) --last;
  QString out;
  out.reserve(last - first);
  for (qsizetype i = first; i < last; ++i) {
    if (!isLineBreak(text[i])) {
      out += text[i];
    } else if (i == first || !isLineBreak(text[i - 1])) {
      out += u' ';
    }
  }
  return out;
}

QTextLine layOut(QTextLayout& layout, const QString& text, const QFont& font) {
  layout.setText(text);
  layout.setFont(font);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  return line;
}

}  // namespace

struct TextField::Engine {
  EditingEngine line;
  std::shared_ptr<Timer> blink;

  // Lays out the field's text in `text` (its one line in `line`) and places
  // it in the field from the scroll last settled on.
  static TextFieldLayout place(const TextField& field, QTextLayout& text, QTextLine& line) {
    line = layOut(text, field.engine_->line.text(), toQt(field.font_));
    TextFieldLayout::Input input;
    input.bounds = field.bounds();
    input.insets = field.textInsets_;
    input.alignment = field.alignment_;
    input.textWidth = line.naturalTextWidth();
    input.lineHeight = line.height();
    input.caretX = line.cursorToX(field.engine_->line.cursorPosition());
    input.editing = field.editing_;
    input.scrollX = field.scrollX_;
    return TextFieldLayout::of(input);
  }
};

TextField::TextField(const Rect& frame) : Control(frame) {
  Application::ensure();
  engine_ = std::make_unique<Engine>();
}

TextField::~TextField() {
  if (engine_->blink) engine_->blink->invalidate();
}

std::string TextField::text() const { return fromQt(engine_->line.text()); }

void TextField::setText(const std::string& text) {
  engine_->line.setText(singleLine(toQt(text)));
  scrollX_ = 0;
  settleScroll();
  setNeedsDisplay();
}

void TextField::setPlaceholder(const std::string& placeholder) {
  placeholder_ = placeholder;
  setNeedsDisplay();
}

void TextField::setFont(const Font& font) {
  font_ = font;
  setNeedsDisplay();
}

void TextField::setTextColor(const Color& color) {
  textColor_ = color;
  setNeedsDisplay();
}

void TextField::setTintColor(const Color& color) {
  tintColor_ = color;
  setNeedsDisplay();
}

void TextField::setTextAlignment(TextAlignment alignment) {
  alignment_ = alignment;
  setNeedsDisplay();
}

void TextField::setTextInsets(const EdgeInsets& insets) {
  textInsets_ = insets;
  setNeedsDisplay();
}

std::string TextField::selectedText() const { return fromQt(engine_->line.selectedText()); }

void TextField::selectAll() {
  engine_->line.selectAll();
  settleScroll();
  setNeedsDisplay();
}

bool TextField::canBecomeFirstResponder() const { return isEnabled() && !isHidden(); }

void TextField::didBecomeFirstResponder() {
  editing_ = true;
  engine_->line.end(false);
  settleScroll();
  restartBlink();
  if (auto began = onEditingBegan) began(*this);
}

void TextField::didResignFirstResponder() {
  if (!editing_) return;
  editing_ = false;
  dragAnchor_ = -1;
  if (engine_->blink) engine_->blink->invalidate();
  engine_->blink.reset();
  engine_->line.deselect();
  scrollX_ = 0;
  setNeedsDisplay();
  // The closure may drop the last reference to this field (a table reload).
  auto keep = weak_from_this().lock();
  if (auto ended = onEditingEnded) ended(*this, text());
}

void TextField::restartBlink() {
  caretVisible_ = true;
  setNeedsDisplay();
  if (!editing_) return;
  if (engine_->blink) engine_->blink->invalidate();
  std::weak_ptr<View> weak = weak_from_this();
  engine_->blink = Timer::scheduled(blinkSeconds, true, [weak](Timer&) {
    if (auto self = std::static_pointer_cast<TextField>(weak.lock())) {
      self->caretVisible_ = !self->caretVisible_;
      self->setNeedsDisplay();
    }
  });
}

void TextField::afterEdit(const std::string& before) {
  QString now = engine_->line.text();
  if (std::any_of(now.begin(), now.end(), isLineBreak)) {
    int cursor = engine_->line.cursorPosition();
    engine_->line.setText(singleLine(now));
    engine_->line.setCursorPosition(cursor);
  }
  settleScroll();
  restartBlink();
  if (text() != before) {
    if (auto changed = onEditingChanged) changed(*this);
  }
}

bool TextField::handlePlatformEvent(PlatformEvent& event) {
  if (!editing_) return false;
  std::string before = text();
  if (event.event.type() == QEvent::KeyPress) {
    auto& key = static_cast<QKeyEvent&>(event.event);
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
      if (auto pressed = onReturn) pressed(*this);
      resignFirstResponder();
      return true;
    }
    bool handled = true;
    if (key.matches(QKeySequence::Paste)) {
      QString pasted = singleLine(QGuiApplication::clipboard()->text());
      if (!pasted.isEmpty() || engine_->line.hasSelectedText()) engine_->line.insert(pasted);
    } else {
      key.setAccepted(true);
      engine_->line.keyPressEvent(&key);
      handled = key.isAccepted();
    }
    afterEdit(before);
    return handled;
  }
  if (event.event.type() == QEvent::InputMethod) {
    auto& input = static_cast<QInputMethodEvent&>(event.event);
    QInputMethodEvent cleaned(input.preeditString(), input.attributes());
    cleaned.setCommitString(singleLine(input.commitString()), input.replacementStart(), input.replacementLength());
    engine_->line.inputMethodEvent(&cleaned);
    afterEdit(before);
    return true;
  }
  return false;
}

int TextField::indexAt(Point point) const {
  QTextLayout text;
  QTextLine line;
  TextFieldLayout layout = Engine::place(*this, text, line);
  std::vector<TextFieldLayout::CaretStop> stops;
  for (int i = 0; i <= engine_->line.text().size(); ++i) {
    if (text.isValidCursorPosition(i)) stops.push_back({i, line.cursorToX(i)});
  }
  return layout.indexAt(point, stops);
}

void TextField::settleScroll() {
  QTextLayout text;
  QTextLine line;
  scrollX_ = Engine::place(*this, text, line).scrollX;
}

void TextField::touchesBegan(const Touch& touch) {
  if (!isEnabled()) return;
  if (!isFirstResponder() && !becomeFirstResponder()) return;
  dragAnchor_ = indexAt(touch.location(*this));
  engine_->line.setCursorPosition(dragAnchor_);
  settleScroll();
  restartBlink();
}

void TextField::touchesMoved(const Touch& touch) {
  if (dragAnchor_ < 0) return;
  int index = indexAt(touch.location(*this));
  engine_->line.setSelection(dragAnchor_, index - dragAnchor_);
  settleScroll();
  restartBlink();
}

void TextField::touchesEnded(const Touch&) { dragAnchor_ = -1; }
void TextField::touchesCancelled(const Touch&) { dragAnchor_ = -1; }

void TextField::draw(GraphicsContext& context, const Rect&) {
  QTextLayout layout;
  QTextLine line;
  TextFieldLayout placed = Engine::place(*this, layout, line);
  Rect area = placed.textArea;
  if (engine_->line.text().isEmpty() && !placeholder_.empty()) {
    double height = font_.measure(placeholder_).height;
    context.drawText(placeholder_, Rect(area.x(), area.y() + (area.height() - height) / 2, area.width(), height), font_,
                     Color::white(0.7), alignment_);
  }

  QPainter& painter = context.painter().painter;
  painter.save();
  painter.setClipRect(toQt(area), Qt::IntersectClip);
  QList<QTextLayout::FormatRange> selections;
  if (editing_ && engine_->line.hasSelectedText()) {
    QTextLayout::FormatRange selection;
    selection.start = engine_->line.selectionStart();
    selection.length = engine_->line.selectionLength();
    Color faded = tintColor_;
    faded.alpha *= 0.25;
    selection.format.setBackground(toQt(faded));
    selection.format.setForeground(toQt(textColor_));
    selections.append(selection);
  }
  painter.setPen(toQt(textColor_));
  layout.draw(&painter, toQt(placed.textOrigin), selections);
  if (editing_ && caretVisible_ && !engine_->line.hasSelectedText()) {
    painter.fillRect(toQt(placed.caret), toQt(tintColor_));
  }
  painter.restore();
}

}  // namespace ui
