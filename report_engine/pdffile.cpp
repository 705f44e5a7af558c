#include "pdffile.h"

#include <QDateTime>
#include <QLocale>
#include <QPdfWriter>
#include <QRegularExpression>
#include <pwd.h>
#include <unistd.h>

namespace kv {

namespace {
constexpr int kPdfResolution = 1200;
const QString kProducer = QStringLiteral("Qt " QT_VERSION_STR);

QString xmlEscaped(const QString &text) { return text.toHtmlEscaped(); }

// A PDF text string: UTF-16 with its byte-order mark, in hex.
QByteArray pdfText(const QString &text)
{
    QByteArray bytes("<FEFF");
    for (const QChar c : text)
        bytes += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return bytes + '>';
}

// The XMP packet of a PDF/A-1b file: the same title, author, creator, producer and
// date as its information dictionary.
QByteArray xmpPacket(const QString &title, const QDateTime &created)
{
    const QString packet = QStringLiteral(
        "<?xpacket begin=\"\uFEFF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
        "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
        "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
        "<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt></dc:title>\n"
        "<dc:creator><rdf:Seq><rdf:li>%2</rdf:li></rdf:Seq></dc:creator>\n"
        "</rdf:Description>\n"
        "<rdf:Description rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n"
        "<xmp:CreatorTool>%3</xmp:CreatorTool>\n"
        "<xmp:CreateDate>%4</xmp:CreateDate>\n"
        "</rdf:Description>\n"
        "<rdf:Description rdf:about=\"\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\">\n"
        "<pdf:Producer>%5</pdf:Producer>\n"
        "</rdf:Description>\n"
        "<rdf:Description rdf:about=\"\" xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\">\n"
        "<pdfaid:part>1</pdfaid:part>\n"
        "<pdfaid:conformance>B</pdfaid:conformance>\n"
        "</rdf:Description>\n"
        "</rdf:RDF>\n"
        "</x:xmpmeta>\n"
        "<?xpacket end=\"w\"?>");
    return packet.arg(xmlEscaped(title), xmlEscaped(documentAuthor()), xmlEscaped(documentCreator()),
                      created.toString(Qt::ISODate), xmlEscaped(kProducer))
        .toUtf8();
}
} // namespace

QPageSize::PageSizeId localePaperId()
{
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4;
}

QSizeF localePaper() { return QPageSize(localePaperId()).size(QPageSize::Inch); }

QString documentAuthor()
{
    // The first field of the account's comment is its owner's full name.
    if (const passwd *account = getpwuid(getuid())) {
        const QString full = QString::fromLocal8Bit(account->pw_gecos).section(QLatin1Char(','), 0, 0).trimmed();
        if (!full.isEmpty())
            return full;
        if (account->pw_name && *account->pw_name)
            return QString::fromLocal8Bit(account->pw_name);
    }
    return qEnvironmentVariable("USER");
}

QString documentCreator() { return QStringLiteral("Kestrova Videos 97 " KV_VERSION); }

PdfFile::PdfFile(const QString &path) : path_(path), file_(path) {}

PdfFile::~PdfFile() { discard(); }

void PdfFile::failed()
{
    const bool refused = writer_ && file_.isOpen() && file_.device().error() != QFileDevice::NoError;
    error_ = cannotWriteMessage(path_, refused ? file_.device().errorString()
                                               : QStringLiteral("The PDF writer did not finish."));
}

void PdfFile::discard()
{
    writer_.reset();
    file_.discard();
}

bool PdfFile::open(const QString &title, QSizeF paper, QPageLayout::Orientation orientation)
{
    title_ = title;
    if (!file_.open()) {
        error_ = file_.errorMessage();
        return false;
    }
    writer_ = std::make_unique<QPdfWriter>(&file_.device());
    writer_->setResolution(kPdfResolution);
    writer_->setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    writer_->setTitle(title);
    writer_->setCreator(documentCreator());
    const QDateTime now = QDateTime::currentDateTimeUtc();
    created_ = now.addMSecs(-now.time().msec());
    writer_->setDocumentXmpMetadata(xmpPacket(title, created_));
    writer_->setPageLayout(QPageLayout(QPageSize(paper, QPageSize::Inch), orientation, QMarginsF()));
    return true;
}

bool PdfFile::close()
{
    if (!writer_) {
        error_ = cannotWriteMessage(path_, QStringLiteral("The file is not open."));
        return false;
    }
    writer_.reset();
    QFile &device = file_.device();
    // Qt's writer goes on after a refused write; the file keeps the first refusal.
    if (device.error() != QFileDevice::NoError)
        error_ = cannotWriteMessage(path_, device.errorString());
    else if (!addDocumentInfo())
        error_ = cannotWriteMessage(path_, device.error() != QFileDevice::NoError
                                               ? device.errorString()
                                               : QStringLiteral("Qt's PDF writer left no trailer."));
    else if (!file_.commit())
        error_ = file_.errorMessage();
    else
        return true;
    file_.discard();
    return false;
}

// Appends an information dictionary with the author in place of Qt's, keeping the
// title, creator, producer and date that the XMP packet repeats.
bool PdfFile::addDocumentInfo()
{
    QFile &file = file_.device();
    const qint64 size = file.size();
    if (!file.seek(std::max<qint64>(0, size - 4096)))
        return false;
    const QByteArray tail = file.readAll();
    static const QRegularExpression trailerRe(QStringLiteral("trailer\\s*<<(.*)>>\\s*startxref\\s*(\\d+)"),
                                              QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch trailer = trailerRe.match(QString::fromLatin1(tail));
    const QString dict = trailer.captured(1);
    static const QRegularExpression sizeRe(QStringLiteral("/Size\\s+(\\d+)")),
        rootRe(QStringLiteral("/Root\\s+(\\d+\\s+\\d+\\s+R)")), infoRe(QStringLiteral("/Info\\s+(\\d+)\\s+0\\s+R")),
        idRe(QStringLiteral("/ID\\s*(\\[[^\\]]*\\])"));
    const QString sizeText = sizeRe.match(dict).captured(1), root = rootRe.match(dict).captured(1);
    const QString info = infoRe.match(dict).captured(1), id = idRe.match(dict).captured(1);
    if (!trailer.hasMatch() || sizeText.isEmpty() || root.isEmpty() || info.isEmpty())
        return false;
    const qint64 objectAt = size;
    QByteArray update = "\n";
    const qint64 object = objectAt + update.size();
    update += info.toLatin1() + " 0 obj\n<<\n/Title " + pdfText(title_) + "\n/Author " + pdfText(documentAuthor()) +
              "\n/Creator " + pdfText(documentCreator()) + "\n/Producer " + pdfText(kProducer) +
              "\n/CreationDate (D:" + created_.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() +
              "Z)\n>>\nendobj\n";
    const qint64 xref = objectAt + update.size();
    update += "xref\n" + info.toLatin1() + " 1\n" + QByteArray::number(object).rightJustified(10, '0') +
              " 00000 n \ntrailer\n<<\n/Size " + sizeText.toLatin1() + "\n/Root " + root.toLatin1() + "\n/Info " +
              info.toLatin1() + " 0 R\n" + (id.isEmpty() ? QByteArray() : "/ID " + id.toLatin1() + "\n") +
              "/Prev " + trailer.captured(2).toLatin1() + "\n>>\nstartxref\n" + QByteArray::number(xref) +
              "\n%%EOF\n";
    return file.seek(size) && file.write(update) == update.size();
}

} // namespace kv
