// The scene editor's layout, what it builds when it opens, and its two display operations.
#include "ui/editor/scene_editor_window.h"

#include <QComboBox>
#include <QPushButton>
#include <QShortcut>

#include "link/hex.h"
#include "scale/level_scale.h"
#include "ui/editor/dimmer_label.h"
#include "ui/editor/fitted_font.h"
#include "ui/grid/scene_history.h"
#include "ui/main/compact_combo_style.h"
#include "ui/main/twips.h"
#include "ui/main/window_placement.h"

namespace corvane {
namespace {

constexpr QSize kClientSize(twipsToPixels(8055), twipsToPixels(6855));  // 537 x 457
constexpr QRect kCloseRect = twipsRect(6960, 6360, 975, 375);
constexpr QRect kSceneRect = twipsRect(120, 120, 1215, 315);
constexpr QRect kLevelRect = twipsRect(1800, 120, 855, 315);
constexpr QSize kDimNumSize(73, 17);
constexpr QSize kDimLvlSize(41, 17);
constexpr int kPercentEntries = 101;
constexpr int kLabelBorder = 1;
constexpr int kLabelPadding = 3;  // clear space each side of a caption inside the border

// The grid runs down four columns of sixteen dimmers, in pixels.
constexpr int kGridTop = 40;
constexpr int kRowPitch = 24;
constexpr int kColumnPitch = 136;
constexpr int kDimNumLeft = 8;
constexpr int kDimLvlLeft = 80;
constexpr int kRowsPerColumn = 16;

const QString kCaption = QStringLiteral("Ostrel Corvane Scene Tool");
const QColor kNameColour(0, 255, 255);
const QColor kLevelColour(255, 255, 255);

// 16 groups of four outputs: dimmer 39 is "Dimmer 0A.4".
QString dimmerCaption(int d) {
    return QStringLiteral("Dimmer ") +
           QString::fromStdString(Hex2(static_cast<int16_t>(d / 4 + 1))) + QStringLiteral(".") +
           QString::number(d % 4 + 1);
}

// The label font: the window's, made smaller if the widest caption would touch the border.
QFont gridFont(const QFont& windowFont) {
    QStringList names;
    for (int d = 0; d < kDimmerCount; ++d) names << dimmerCaption(d);
    const int room = 2 * (kLabelBorder + kLabelPadding);
    const QFont font = fittedFont(windowFont, names, kDimNumSize.width() - room);
    return fittedFont(font, {QStringLiteral("100%"), QString::fromLatin1(kUnknownLevelText)},
                      kDimLvlSize.width() - room);
}

}  // namespace

frmCVSceneToolEdit::frmCVSceneToolEdit(SceneTable& scenes, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      Scenes(scenes) {
    setWindowTitle(kCaption);
    setWindowIcon(QIcon(QStringLiteral(":/icons/scene-editor.png")));
    // The controls are designed for a small dialog font; a larger one clips "Scene: 64".
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    setFixedSize(kClientSize);
    buildControls();
    Form_Load();
    connectControls();
}

frmCVSceneToolEdit::frmCVSceneToolEdit(SceneHistory& history, QWidget* parent)
    : frmCVSceneToolEdit(history.scenes(), parent) {
    history_ = &history;
    connectHistory();
}

void frmCVSceneToolEdit::connectHistory() {
    const auto step = [this](bool back) {
        AllVisible();
        if (back) {
            history_->stack().undo();
        } else {
            history_->stack().redo();
        }
    };
    auto* undo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this);
    connect(undo, &QShortcut::activated, this, [step] { step(true); });
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}) {
        auto* redo = new QShortcut(keys, this);
        connect(redo, &QShortcut::activated, this, [step] { step(false); });
    }
    connect(history_, &SceneHistory::levelsChanged, this, [this] { ShowScene(); });
}

// The lists outlive this part of the window while Qt deletes the children; they must not run a
// handler then.
frmCVSceneToolEdit::~frmCVSceneToolEdit() {
    cboScene->disconnect(this);
    cboLevel->disconnect(this);
}

void frmCVSceneToolEdit::buildControls() {
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setGeometry(kCloseRect);
    cboScene = new QComboBox(this);
    cboScene->setGeometry(kSceneRect);
    applyCompactComboStyle(cboScene);
    const QFont labelFont = gridFont(font());
    lblDimNum[0] = new DimmerLabel(0, QStringLiteral("Dimmer 0F.4"), kNameColour, this);
    lblDimNum[0]->setGeometry(QRect(QPoint(kDimNumLeft, kGridTop), kDimNumSize));
    lblDimNum[0]->setFont(labelFont);
    lblDimLvl[0] = new DimmerLabel(0, QStringLiteral("100%"), kLevelColour, this);
    lblDimLvl[0]->setGeometry(QRect(QPoint(kDimLvlLeft, kGridTop), kDimLvlSize));
    lblDimLvl[0]->setFont(labelFont);
    cboLevel = new QComboBox(this);
    cboLevel->setGeometry(kLevelRect);
    applyCompactComboStyle(cboLevel);

    setTabOrder(cmdClose, cboScene);
    setTabOrder(cboScene, cboLevel);
}

void frmCVSceneToolEdit::Form_Load() {
    cboLevel->clear();
    for (int p = 0; p < kPercentEntries; ++p) cboLevel->addItem(QString::number(p) + "%");

    for (int d = 0; d < kDimmerCount; ++d) {
        const auto index = static_cast<int16_t>(d);
        if (d != 0) {
            lblDimNum[d] = new DimmerLabel(index, lblDimNum[0]->text(), kNameColour, this);
            lblDimNum[d]->resize(kDimNumSize);
            lblDimNum[d]->setFont(lblDimNum[0]->font());
            lblDimNum[d]->hide();
            lblDimLvl[d] = new DimmerLabel(index, lblDimLvl[0]->text(), kLevelColour, this);
            lblDimLvl[d]->resize(kDimLvlSize);
            lblDimLvl[d]->setFont(lblDimLvl[0]->font());
            lblDimLvl[d]->hide();
        }
        const int top = kGridTop + kRowPitch * (d % kRowsPerColumn);
        const int column = kColumnPitch * (d / kRowsPerColumn);
        lblDimNum[d]->move(kDimNumLeft + column, top);
        lblDimLvl[d]->move(kDimLvlLeft + column, top);
        lblDimNum[d]->setText(dimmerCaption(d));
        lblDimNum[d]->show();
        lblDimLvl[d]->show();
    }

    cboScene->clear();
    for (int s = 1; s <= kSceneCount; ++s)
        cboScene->addItem(QStringLiteral("Scene: %1").arg(s, 2, 10, QLatin1Char('0')));
    // The program's own selection of the first scene counts as a choice in the scene list.
    cboScene->setCurrentIndex(0);
    cboScene_Click();
    ShowScene();
    cmdClose->setFocus();
}

void frmCVSceneToolEdit::connectControls() {
    connect(cmdClose, &QPushButton::clicked, this, &frmCVSceneToolEdit::cmdClose_Click);
    // Every selection of a scene, by the program or the technician, runs the scene-list
    // handling; choosing the scene already shown changes no index, so that choice is caught
    // by activated. Both may run for one choice: the handling only redraws.
    connect(cboScene, &QComboBox::currentIndexChanged, this, &frmCVSceneToolEdit::cboScene_Click);
    connect(cboScene, &QComboBox::activated, this, &frmCVSceneToolEdit::cboScene_Click);
    // Only the technician's own choice stores a level; the program's selection when the
    // chooser opens must leave the table alone.
    connect(cboLevel, &QComboBox::activated, this, &frmCVSceneToolEdit::cboLevel_Click);
    for (int d = 0; d < kDimmerCount; ++d) {
        connect(lblDimLvl[d], &DimmerLabel::clicked, this, &frmCVSceneToolEdit::lblDimLvl_Click);
        connect(lblDimNum[d], &DimmerLabel::clicked, this, &frmCVSceneToolEdit::lblDimNum_Click);
    }
}

int frmCVSceneToolEdit::selectedScene() const {
    const int s = cboScene->currentIndex();
    return s >= 0 && s < kSceneCount ? s : -1;
}

void frmCVSceneToolEdit::ShowScene() {
    for (int d = 0; d < kDimmerCount; ++d) {
        const int s = selectedScene();
        if (s < 0) return;
        const int16_t level = Scenes(s, d);
        lblDimLvl[d]->setText(QString::fromStdString(LevelText(level)));
        // A level no scale entry stands for names itself on hovering, so the technician can
        // see what the file held before replacing it.
        lblDimLvl[d]->setToolTip(
            level < 0 || level > 255
                ? QStringLiteral("Stored level %1 is not a level from 0 to 255").arg(level)
                : QString());
    }
}

void frmCVSceneToolEdit::AllVisible() {
    cboLevel->hide();
    for (DimmerLabel* label : lblDimLvl) label->show();
}

void frmCVSceneToolEdit::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (centred_) return;
    centred_ = true;
    CentreOnScreen(*this);
    cmdClose->setFocus();
}

}  // namespace corvane
