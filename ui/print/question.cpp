#include "ui/print/question.h"

#include <QRegularExpression>

namespace korval {
namespace {

bool Is(const QString &text, const char *name)
{
    return text.trimmed().compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

// The writers Windows comes with, which ask wherever they print, unless
// their port already names the file.
std::optional<SaveQuestion> WriterOf(const QString &driver)
{
    if (Is(driver, "Microsoft Print To PDF"))
        return SaveQuestion{QStringLiteral(".pdf"), SaveQuestion::Pdf};
    // The writer of Windows 8 and later writes OpenXPS; Windows 7's, XPS.
    if (Is(driver, "Microsoft XPS Document Writer v4"))
        return SaveQuestion{QStringLiteral(".oxps"), SaveQuestion::Xps};
    if (Is(driver, "Microsoft XPS Document Writer"))
        return SaveQuestion{QStringLiteral(".xps"), SaveQuestion::Xps};
    return std::nullopt;
}

bool NamesAFile(const QString &port)
{
    static const QRegularExpression path(QStringLiteral(R"(^\s*[A-Za-z]:[\\/])"));
    return path.match(port).hasMatch() || Is(port, "NUL:") || Is(port, "NUL");
}

}  // namespace

std::optional<SaveQuestion> QuestionOf(const QString &port, const QString &driver)
{
    const std::optional<SaveQuestion> writer = WriterOf(driver);
    if (Is(port, "FILE:") || Is(port, "PORTPROMPT:"))
        return writer ? writer : SaveQuestion{QStringLiteral(".prn"), SaveQuestion::PrinterFile};
    return NamesAFile(port) ? std::nullopt : writer;
}

}  // namespace korval
