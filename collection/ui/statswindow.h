#pragma once
// The Statistics window: the figures of the catalogue or of the search result as charts,
// each with its figures beside it; copied as text, saved as a PNG picture or a PDF page.
#include "collection/collectionstats.h"

#include "app/style/styleddialog.h"

#include <QDialog>
#include <functional>

class QLabel;
class QGridLayout;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace kv {

class Workspace;

inline constexpr char kStatsCaption[] = "Statistics";

class TStatistics : public StyledDialog {
    Q_OBJECT
public:
    TStatistics(Workspace &workspace, QWidget *parent = nullptr);

    const CollectionStats &stats() const { return stats_; }
    QWidget *page() const { return page_; }

    // Counts again with the scope and the overdue days shown.
    void Recount();
    void CopyButtonClick();
    void PngButtonClick();
    void PdfButtonClick();

    // The page of charts and figures as a picture, and as a one-page PDF file; false when
    // the file cannot be written.
    bool savePng(const QString &path);
    bool savePdf(const QString &path);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fill();
    // Asks for a file name and writes the page there with save; a failure is told.
    void saveAs(const QString &title, const QString &filter, const QString &extension,
                bool (TStatistics::*save)(const QString &));

    Workspace &ws_;
    CollectionStats stats_;
    QWidget *page_ = nullptr;
    QGridLayout *grid_ = nullptr;
    QRadioButton *ResultRadio = nullptr;
    QRadioButton *EntireRadio = nullptr;
    QSpinBox *OverdueSpin = nullptr;
    QPushButton *CopyButton = nullptr;
    QPushButton *PngButton = nullptr;
    QPushButton *PdfButton = nullptr;
    QPushButton *CloseButton = nullptr;
};

} // namespace kv
