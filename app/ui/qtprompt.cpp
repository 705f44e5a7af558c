#include "qtprompt.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace kv {

namespace {
QWidget *parentWidget() { return QApplication::activeWindow(); }

QMessageBox::StandardButton toStandard(Answer a)
{
    switch (a) {
    case Answer::Ok: return QMessageBox::Ok;
    case Answer::Cancel: return QMessageBox::Cancel;
    case Answer::Yes: return QMessageBox::Yes;
    case Answer::No: return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

// "Database Files (*.DBF)|*.DBF" -> "Database Files (*.DBF *.dbf)"; the patterns match
// either letter case, as a user of a case-insensitive system expects.
QString qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString &p : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            patterns << p;
            if (p.toLower() != p)
                patterns << p.toLower();
        }
        QString name = parts.at(i);
        const int paren = name.indexOf(QLatin1Char('('));
        if (paren > 0)
            name = name.left(paren).trimmed();
        out << name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

QString withExtension(QString path, const FileDialogSpec &dialog)
{
    if (!path.isEmpty() && !dialog.defaultExtension.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + dialog.defaultExtension;
    return path;
}
} // namespace

Answer QtPrompt::message(MessageKind kind, const QString &caption, const QString &text, Buttons buttons,
                         Answer defaultAnswer)
{
    QMessageBox box(parentWidget());
    box.setWindowTitle(caption);
    box.setText(text);
    switch (kind) {
    case MessageKind::Error: box.setIcon(QMessageBox::Critical); break;
    case MessageKind::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageKind::Confirm: box.setIcon(QMessageBox::Question); break;
    case MessageKind::Information: box.setIcon(QMessageBox::Information); break;
    }
    QMessageBox::StandardButtons standard;
    switch (buttons) {
    case Buttons::Ok: standard = QMessageBox::Ok; break;
    case Buttons::OkCancel: standard = QMessageBox::Ok | QMessageBox::Cancel; break;
    case Buttons::YesNo: standard = QMessageBox::Yes | QMessageBox::No; break;
    case Buttons::YesNoCancel: standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    box.setStandardButtons(standard);
    box.setDefaultButton(toStandard(defaultAnswer));
    if (kind == MessageKind::Warning || buttons != Buttons::Ok)
        beep();
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Ok: return Answer::Ok;
    default: return buttons == Buttons::Ok ? Answer::Ok : (buttons == Buttons::YesNo ? Answer::No : Answer::Cancel);
    }
}

void QtPrompt::beep() { QApplication::beep(); }

QString QtPrompt::openFileName(const FileDialogSpec &dialog)
{
    QFileDialog::Options options;
    return QFileDialog::getOpenFileName(parentWidget(), dialog.title, dialog.initialPath, qtFilter(dialog.filter), nullptr,
                                        options);
}

QString QtPrompt::saveFileName(const FileDialogSpec &dialog)
{
    QFileDialog::Options options;
    if (!dialog.confirmOverwrite)
        options |= QFileDialog::DontConfirmOverwrite;
    return withExtension(QFileDialog::getSaveFileName(parentWidget(), dialog.title, dialog.initialPath,
                                                      qtFilter(dialog.filter), nullptr, options),
                         dialog);
}

QString QtPrompt::directory(const QString &title, const QString &start)
{
    return QFileDialog::getExistingDirectory(parentWidget(), title, start);
}

std::optional<QFont> QtPrompt::font(const QFont &initial, const QString &title)
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, initial, parentWidget(), title);
    return ok ? std::optional<QFont>(f) : std::nullopt;
}

std::optional<QColor> QtPrompt::color(const QColor &initial, const QString &title)
{
    const QColor c = QColorDialog::getColor(initial, parentWidget(), title);
    return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
}

std::optional<PrintRequest> QtPrompt::printDialog(const QString &title, const QString &printer)
{
    QPrinter device;
    const QString name = printer.isEmpty() ? QPrinterInfo::defaultPrinterName() : printer;
    if (!name.isEmpty())
        device.setPrinterName(name);
    QPrintDialog dialog(&device, parentWidget());
    dialog.setWindowTitle(title);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    PrintRequest request;
    if (device.outputFormat() == QPrinter::PdfFormat)
        request.pdfPath = device.outputFileName();
    else
        request.printer = device.printerName();
    request.copies = device.copyCount();
    return request;
}

} // namespace kv
