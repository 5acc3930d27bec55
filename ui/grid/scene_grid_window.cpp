// The Scene Grid window: its table, its keys, and the changes they make.
#include "ui/grid/scene_grid_window.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSettings>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "document/message_box.h"
#include "scale/level_scale.h"
#include "ui/grid/clipboard_text.h"
#include "ui/grid/scene_grid_model.h"
#include "ui/grid/scene_history.h"

namespace corvane {
namespace {

const QString kCaption = QStringLiteral("Scene Grid");
const QString kGeometryKey = QStringLiteral("SceneGrid/geometry");
constexpr QSize kFirstSize(960, 600);
constexpr int kSelectionMix = 55;  // percent of the selection colour in a selected cell
constexpr int kRowPadding = 6;     // pixels of a row beside its text
constexpr int kHeaderPadding = 8;  // pixels each side of a dimmer's name

QSettings toolSettings() {
    return QSettings(QStringLiteral("Ostrel"), QStringLiteral("corvane-scene-tool"));
}

// Hands what was typed to the window instead of the model, so a value that is not a percent is
// refused with a message; Ctrl+Enter hands it over as a fill of the selection.
class TypedLevelDelegate final : public QStyledItemDelegate {
  public:
    using Commit = std::function<void(const QModelIndex&, const QString&, bool fill)>;
    TypedLevelDelegate(Commit commit, QObject* parent)
        : QStyledItemDelegate(parent), commit_(std::move(commit)) {}

    void setModelData(QWidget* editor, QAbstractItemModel*,
                      const QModelIndex& index) const override {
        // A message box takes the focus from the editor, which commits once more.
        if (committing_) return;
        committing_ = true;
        const auto* line = qobject_cast<QLineEdit*>(editor);
        if (line != nullptr) commit_(index, line->text(), fill_);
        committing_ = false;
    }

    // A selected cell keeps its grey blended with the selection colour, so the levels of a
    // selection can still be told apart, and its text turns dark or light to stay readable.
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!option->state.testFlag(QStyle::State_Selected)) return;
        option->state &= ~QStyle::State_Selected;
        const QColor grey = option->backgroundBrush.color();
        const QColor mark = option->palette.color(QPalette::Highlight);
        const auto mix = [](int a, int b) {
            return (a * (100 - kSelectionMix) + b * kSelectionMix) / 100;
        };
        const QColor blend(mix(grey.red(), mark.red()), mix(grey.green(), mark.green()),
                           mix(grey.blue(), mark.blue()));
        option->backgroundBrush = blend;
        option->palette.setColor(QPalette::Text, blend.lightness() >= 128 ? Qt::black : Qt::white);
    }

  protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor != nullptr && event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (enter && key->modifiers().testFlag(Qt::ControlModifier)) {
                fill_ = true;
                emit commitData(editor);
                fill_ = false;
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

  private:
    Commit commit_;
    mutable bool committing_ = false;
    bool fill_ = false;
};

// A key of the grid's own, reached only while the table has the focus, so an open cell editor
// keeps its Ctrl+C, Ctrl+V and Delete.
QAction* tableKey(QTableView* view, const QKeySequence& keys, const std::function<void()>& run) {
    auto* action = new QAction(view);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(action, &QAction::triggered, view, run);
    view->addAction(action);
    return action;
}

}  // namespace

SceneGridWindow::SceneGridWindow(SceneHistory& history, MessageBox& messages, QWidget* parent)
    : QWidget(parent, Qt::Window), history_(history), messages_(messages) {
    setWindowTitle(kCaption);
    setWindowIcon(QIcon(QStringLiteral(":/icons/scene-editor.png")));
    model = new SceneGridModel(history_, this);
    view = new QTableView(this);
    view->setModel(model);
    view->setItemDelegate(
        new TypedLevelDelegate([this](const QModelIndex& index, const QString& text,
                                      bool fill) { commitTyped(index, text, fill); },
                               view));
    view->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::DoubleClicked);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectItems);
    // Every column as wide as the widest dimmer name, set once: sizing to contents would measure
    // all 4,096 cells again after each paste.
    QHeaderView* columns = view->horizontalHeader();
    columns->setDefaultSectionSize(
        columns->fontMetrics().horizontalAdvance(QStringLiteral("Dimmer 10.4")) +
        2 * kHeaderPadding);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + kRowPadding);
    view->setCurrentIndex(model->index(0, 0));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);

    tableKey(view, QKeySequence::Copy, [this] { copySelection(); });
    tableKey(view, QKeySequence::Paste, [this] { paste(); });
    tableKey(view, QKeySequence(Qt::Key_Delete), [this] { deleteSelection(); });

    // The same steps and keys as the Table menu's, for while this window has the focus.
    undoAction = history_.stack().createUndoAction(this, QStringLiteral("Undo"));
    undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction = history_.stack().createRedoAction(this, QStringLiteral("Redo"));
    redoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    addAction(undoAction);
    addAction(redoAction);

    resize(kFirstSize);
    restoreGeometry(toolSettings().value(kGeometryKey).toByteArray());
}

SceneGridWindow::~SceneGridWindow() = default;

void SceneGridWindow::hideEvent(QHideEvent* event) {
    toolSettings().setValue(kGeometryKey, saveGeometry());
    QWidget::hideEvent(event);
}

std::vector<QModelIndex> SceneGridWindow::selectedCells() const {
    QModelIndexList selected = view->selectionModel()->selectedIndexes();
    if (selected.isEmpty() && view->currentIndex().isValid()) selected << view->currentIndex();
    return {selected.begin(), selected.end()};
}

void SceneGridWindow::setSelected(const QString& what, int16_t level) {
    std::vector<LevelChange> levels;
    for (const QModelIndex& i : selectedCells()) levels.push_back({i.row(), i.column(), level});
    history_.change(what + QStringLiteral(" of ") + SceneHistory::levelCount(levels.size()),
                    levels);
}

void SceneGridWindow::copySelection() {
    const std::vector<QModelIndex> cells = selectedCells();
    if (cells.empty()) return;
    QRect bounds;
    for (const QModelIndex& i : cells) bounds |= QRect(i.column(), i.row(), 1, 1);
    QGuiApplication::clipboard()->setText(CopyText(history_.scenes(), bounds));
}

void SceneGridWindow::paste() {
    const std::vector<QStringList> rows = PastedRows(QGuiApplication::clipboard()->text());
    if (rows.empty()) {
        messages_.show(messages::nothingToPaste());
        return;
    }
    // A block lands at the top left of the selection, so a row chosen by its header takes a
    // whole scene from dimmer 01.1 on, however far the view has scrolled.
    QModelIndex at = view->currentIndex();
    int top = kSceneCount;
    int left = kDimmerCount;
    for (const QModelIndex& i : view->selectionModel()->selectedIndexes()) {
        top = std::min(top, i.row());
        left = std::min(left, i.column());
    }
    if (top < kSceneCount) at = model->index(top, left);
    if (!at.isValid()) at = model->index(0, 0);
    if (rows.size() == 1 && rows[0].size() == 1) {
        const std::optional<int16_t> level = TypedLevel(rows[0][0]);
        if (!level) {
            messages_.show(
                messages::pasteNotAPercent(1, 1, CellName(at.row(), at.column()), rows[0][0]));
            return;
        }
        setSelected(QStringLiteral("Paste"), *level);
        return;
    }
    const auto placed = PlaceBlock(rows, at.row(), at.column());
    if (const auto* refusal = std::get_if<PasteRefusal>(&placed)) {
        messages_.show(refusal->pastEdge
                           ? messages::pastePastEdge(refusal->row, refusal->column)
                           : messages::pasteNotAPercent(refusal->row, refusal->column,
                                                        CellName(at.row() + refusal->row - 1,
                                                                 at.column() + refusal->column - 1),
                                                        refusal->value));
        return;
    }
    const auto& levels = std::get<std::vector<LevelChange>>(placed);
    history_.change(QStringLiteral("Paste of ") + SceneHistory::levelCount(levels.size()), levels);
    // The pasted block is left selected, as a spreadsheet leaves it.
    QItemSelection block;
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        block.select(model->index(at.row() + r, at.column()),
                     model->index(at.row() + r, at.column() + int(rows[r].size()) - 1));
    view->selectionModel()->select(block, QItemSelectionModel::ClearAndSelect);
}

void SceneGridWindow::deleteSelection() {
    setSelected(QStringLiteral("Delete"), *PcntToLvl(0));
}

void SceneGridWindow::commitTyped(const QModelIndex& index, const QString& text, bool fill) {
    const std::optional<int16_t> level = TypedLevel(text);
    if (!level) {
        messages_.show(messages::notAPercent(CellName(index.row(), index.column()), text));
        return;
    }
    if (fill) {
        setSelected(QStringLiteral("Fill"), *level);
        return;
    }
    history_.change(QStringLiteral("Typing at ") + CellName(index.row(), index.column()),
                    {{index.row(), index.column(), *level}});
}

}  // namespace corvane
