#include "ui/text_box.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

namespace sumora {

qsizetype LongestParagraph(QStringView text) {
  qsizetype longest = 0;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator) {
      longest = std::max(longest, i - start);
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      start = i + 1;
    }
  }
  return std::max(longest, text.size() - start);
}

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent) {
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  connect(document(), &QTextDocument::contentsChange, this,
          &TextBox::NoteChange);
  connect(this, &QPlainTextEdit::textChanged, this, &TextBox::AfterChange);
}

bool TextBox::WrapsAnywhere() const {
  return wordWrapMode() == QTextOption::WrapAnywhere;
}

void TextBox::PrepareForParagraph(qsizetype length) {
  if (length > kLongParagraph && !WrapsAnywhere()) {
    setWordWrapMode(QTextOption::WrapAnywhere);
  }
}

void TextBox::SetText(const QString& text) {
  PrepareForParagraph(LongestParagraph(text));
  setPlainText(text);
}

void TextBox::insertFromMimeData(const QMimeData* source) {
  if (source && source->hasText()) {
    PrepareForParagraph(LongestParagraph(source->text()));
  }
  QPlainTextEdit::insertFromMimeData(source);
}

void TextBox::NoteChange(int position, int /*removed*/, int added) {
  // Only looked at here; the wrapping changes once the edit is complete.
  const QTextDocument* text = document();
  for (QTextBlock block = text->findBlock(position);
       block.isValid() && block.position() <= position + added;
       block = block.next()) {
    if (block.length() > kLongParagraph) {
      long_paragraph_touched_ = true;
      return;
    }
  }
}

void TextBox::AfterChange() {
  const bool touched = long_paragraph_touched_;
  long_paragraph_touched_ = false;
  if (!WrapsAnywhere()) {
    if (touched) setWordWrapMode(QTextOption::WrapAnywhere);
    return;
  }
  // Back to word boundaries when no long paragraph is left.
  const QTextDocument* text = document();
  if (text->characterCount() > kLongParagraph) {
    for (QTextBlock block = text->begin(); block.isValid();
         block = block.next()) {
      if (block.length() > kLongParagraph) return;
    }
  }
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

}  // namespace sumora
