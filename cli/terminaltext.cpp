#include "terminaltext.h"

#include <QtGlobal>

namespace kvcli {

bool localeIsUtf8(const QByteArray &lcAll, const QByteArray &lcCtype, const QByteArray &lang)
{
    const QByteArray &setting = !lcAll.isEmpty() ? lcAll : !lcCtype.isEmpty() ? lcCtype : lang;
    const qsizetype dot = setting.indexOf('.');
    if (dot < 0)
        return false;
    QByteArray charset = setting.mid(dot + 1);
    charset.truncate(charset.indexOf('@') < 0 ? charset.size() : charset.indexOf('@'));
    charset = charset.toLower().replace("-", "");
    return charset == "utf8";
}

std::optional<kv::TextEncoding> takeTerminalEncoding(QStringList &args)
{
    const bool utf8 = args.removeAll(QStringLiteral("--utf8")) > 0;
    const bool cp1252 = args.removeAll(QStringLiteral("--cp1252")) > 0;
    if (utf8 && cp1252)
        return std::nullopt;
    if (utf8)
        return kv::TextEncoding::Utf8;
    if (cp1252)
        return kv::TextEncoding::Cp1252;
    return localeIsUtf8(qgetenv("LC_ALL"), qgetenv("LC_CTYPE"), qgetenv("LANG")) ? kv::TextEncoding::Utf8
                                                                                 : kv::TextEncoding::Cp1252;
}

} // namespace kvcli
