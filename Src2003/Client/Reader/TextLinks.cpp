#include "TextLinks.h"

#include <QTextDocument>

#include "LxExcept.h"
#include "QtText.h"
#include "RichTextEditing.h"

namespace {

const QColor kLinkColor(Qt::blue);

int LinkStart(const TBodyLink& link, const std::vector<int>& lineStarts, int& length) {
  length = link.Record.Length;
  if (!link.Version1) return link.Record.Position;
  const auto line = static_cast<size_t>(link.Record.Line);
  if (link.Record.Line < 0 || line >= lineStarts.size()) {
    throw ELxException(FormatMessage("O índice da linha do atalho (%d) está fora dos limites (0 a %d)",
                                     link.Record.Line, static_cast<int>(lineStarts.size()) - 1));
  }
  const int position = lineStarts[line] + link.Record.Position;
  if (line + 1 < lineStarts.size()) length = std::min(length, lineStarts[line + 1] - position - 1);
  return position;
}

}  // namespace

std::vector<int> BuildLineStarts(std::string_view plainText) {
  std::vector<int> starts{0};
  int lineFeedsBefore = 0;
  for (size_t index = 1; index < plainText.size(); ++index) {
    if (plainText[index] != '\n') continue;
    // Each earlier line break is two characters here and one position in the view.
    starts.push_back(static_cast<int>(index) - lineFeedsBefore);
    ++lineFeedsBefore;
  }
  return starts;
}

std::vector<TTOMOHyperlinkRecord> ApplyLinks(QTextDocument& document, const std::vector<int>& lineStarts,
                                             const std::vector<TBodyLink>& links,
                                             const std::function<bool(int)>& targetExists) {
  std::vector<TTOMOHyperlinkRecord> applied;
  applied.reserve(links.size());
  for (const TBodyLink& link : links) {
    int length = 0;
    const int start = LinkStart(link, lineStarts, length);
    TRichTextMark mark;
    mark.foreground = kLinkColor;
    mark.underline = true;
    mark.strikeOut = !targetExists(link.Record.Target);
    MarkRange(document, start, length, mark);
    SetLinkNumber(document, start, length, static_cast<int>(applied.size()));
    applied.push_back(link.Record);
  }
  return applied;
}

QString DocumentErrorText(int documentNumber, const std::string& className, const std::string& message) {
  const QStringList lines = {
      QStringLiteral("    Houve um erro ao acessar este documento.Tente atualizar o Pandecta para corrigir o problema."),
      QString(),
      QStringLiteral("-----------------------"),
      QStringLiteral("Informações técnicas"),
      QStringLiteral("-----------------------"),
      QStringLiteral("Documento: %1").arg(documentNumber),
      QStringLiteral("Exceção: ") + Utf8ToQString(className),
      Utf8ToQString(message),
  };
  return lines.join(QLatin1Char('\n'));
}
