#include "app/workspace/workspace.h"

#include "store/catalogue.h"

namespace kv {

Workspace::Workspace(Settings &settings, Prompt &prompt, QObject *parent)
    : QObject(parent), settings_(settings), prompt_(prompt), search_(master_), pickLists_(prompt)
{
    check_.setReadOnly(true);
    connect(&search_, &SearchState::changed, this, &Workspace::searchChanged);
    connect(this, &Workspace::leavingCatalogue, this,
            [this](const CataloguePaths &old) { pickLists_.SaveAllLists(old.basePath); });
    connect(this, &Workspace::enteringCatalogue, this, [this](const CataloguePaths &paths, bool isNew) {
        if (isNew)
            pickLists_.LoadDefaultList();
        else
            pickLists_.LoadAllList(paths.basePath);
    });
}

Workspace::~Workspace() = default;

void Workspace::keepUndoHistory()
{
    if (undo_)
        return;
    undo_ = std::make_unique<UndoHistory>(master_);
    connect(this, &Workspace::leavingCatalogue, this,
            [this] { clearUndoHistory(QString::fromLatin1(kHistoryClearedBySwitch)); });
}

void Workspace::clearUndoHistory(const QString &why)
{
    if (!undo_ || (!undo_->canUndo() && !undo_->canRedo()))
        return;
    undo_->clear(why);
}

void Workspace::rebuildSortExpression() { sortExpression_ = buildSortString(settings_.sortLevels); }

void Workspace::enterBrowseOnly()
{
    if (browseOnly_)
        return;
    browseOnly_ = true;
    savedFieldEditing_ = settings_.fieldEditing;
    settings_.fieldEditing = false;
}

void Workspace::leaveBrowseOnly()
{
    if (!browseOnly_)
        return;
    browseOnly_ = false;
    settings_.fieldEditing = savedFieldEditing_;
}

bool Workspace::attempt(const std::function<void()> &work)
{
    bool done = true;
    try {
        work();
    } catch (const DbError &e) {
        report(e);
        done = false;
    }
    tellIndexNotice();
    return done;
}

void Workspace::tellIndexNotice()
{
    if (const QString notice = master_.takeIndexNotice(); !notice.isEmpty())
        prompt_.showMessage(QStringLiteral("Notice"), notice);
}

bool Workspace::openMaster()
{
    master_.setExclusive(false);
    return attempt([this] { master_.open(); });
}

int Workspace::recordCount() const { return master_.isOpen() ? master_.recordCount() : 0; }

std::uint32_t Workspace::currentRecord() const { return master_.isOpen() ? master_.recNo() : 0; }

void Workspace::returnToRecord(std::uint32_t recno)
{
    if (recno == 0 || !master_.isOpen())
        return;
    const int count = master_.recordCount();
    for (int position = 0; position < count; ++position) {
        if (master_.recNoAt(position) == recno) {
            master_.moveTo(position);
            return;
        }
    }
}

} // namespace kv
