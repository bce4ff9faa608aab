#include "ui/decimals_box.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <algorithm>
#include <cstdint>
#include <limits>

namespace sumora {
namespace {

bool IsBlank(QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// Drops from typed text every printable character the box does not take;
// control characters (Backspace, Delete, Enter) pass.
QString FilterTyped(const QString& text) {
  QString kept;
  for (QChar c : text) {
    if (!c.isPrint() || IsDecimalsCharacter(c)) kept.append(c);
  }
  return kept;
}

}  // namespace

bool IsDecimalsCharacter(QChar c) {
  return c == u'-' || (c >= u'0' && c <= u'9');
}

QString NormalizeDecimalsText(const QString& text) {
  qsizetype i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
    negative = text[i] == u'-';
    ++i;
  }
  // Accumulated as a magnitude; a value beyond 64 bits stays at the limit.
  constexpr std::uint64_t kLimit =
      static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1;
  std::uint64_t magnitude = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    const std::uint64_t digit = text[i].unicode() - u'0';
    magnitude =
        magnitude > (kLimit - digit) / 10 ? kLimit : magnitude * 10 + digit;
  }
  std::int64_t value;
  if (negative) {
    value = magnitude >= kLimit ? std::numeric_limits<std::int64_t>::min()
                                : -static_cast<std::int64_t>(magnitude);
  } else {
    value = static_cast<std::int64_t>(std::min(magnitude, kLimit - 1));
  }
  value =
      std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::int32_t>::max());
  if (value == 0) return QString();
  return QString::number(value);
}

DecimalsBox::DecimalsBox(QWidget* parent) : QLineEdit(parent) {
  // Tells input methods and on-screen keyboards that a number comes.
  setInputMethodHints(Qt::ImhFormattedNumbersOnly);
}

void DecimalsBox::Normalize() {
  const QString normal = NormalizeDecimalsText(text());
  if (normal == text()) return;
  const int caret = hasSelectedText() ? selectionStart() : cursorPosition();
  setText(normal);
  setCursorPosition(std::min<int>(caret, normal.size()));
}

void DecimalsBox::keyPressEvent(QKeyEvent* event) {
  // Shortcuts (Ctrl+V, Ctrl+C, ...) reach the box whatever text they carry,
  // so a paste can insert any text; the focus-out normalisation cleans it.
  const bool shortcut =
      event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
  const QString typed = event->text();
  if (!shortcut && !typed.isEmpty()) {
    const QString kept = FilterTyped(typed);
    if (kept != typed) {
      if (!kept.isEmpty()) insert(kept);
      event->accept();
      return;
    }
  }
  QLineEdit::keyPressEvent(event);
}

void DecimalsBox::inputMethodEvent(QInputMethodEvent* event) {
  // Text committed by an input method is typed text as well.
  const QString commit = event->commitString();
  const QString kept = FilterTyped(commit);
  if (kept != commit) {
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(kept, event->replacementStart(),
                             event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
    event->accept();
    return;
  }
  QLineEdit::inputMethodEvent(event);
}

void DecimalsBox::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Opening the box's own context menu is no leaving.
  if (event->reason() != Qt::PopupFocusReason) Normalize();
}

}  // namespace sumora
