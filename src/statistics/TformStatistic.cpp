#include "statistics/TformStatistic.h"

#include "core/Error.h"
#include "core/FormStorage.h"
#include "localisation/LangString.h"
#include "options/TaskCatalogue.h"
#include "statistics/TaskTree.h"
#include "statistics/WeekTableCells.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QColorDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace statistics {

namespace {

const QString kNone = QStringLiteral("none");
const QColor kWhite(0xff, 0xff, 0xff);
const QColor kSilver(0xc0, 0xc0, 0xc0);
const QColor kGrey(0x80, 0x80, 0x80);
const QColor kPink(0xff, 0x80, 0xc0);
const QColor kNavy(0x00, 0x00, 0x80);
constexpr int kCellWidth = 68;
constexpr int kCellHeight = 35;
constexpr int kHeaderHeight = 23;
constexpr int kWindowWidth = 571;
constexpr int kWindowHeight = 405;

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// The caption and the name a screen reader says come from the same text.
template <typename W>
W* Captioned(W* widget, const QString& caption) {
  widget->setText(caption);
  widget->setAccessibleName(caption);
  return widget;
}

template <typename W>
W* Hinted(W* widget, const QString& hint, bool nameFromHint) {
  widget->setToolTip(hint);
  if (nameFromHint) widget->setAccessibleName(hint);
  return widget;
}

QLabel* NavyLabel(QWidget* parent, const char* name, const QString& caption) {
  auto* label = Captioned(Named(new QLabel(parent), name), caption);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, kNavy);
  label->setPalette(palette);
  return label;
}

QToolButton* PageButton(QWidget* parent, const char* name, const QString& hint,
                        StatisticGlyph glyph) {
  auto* b = Hinted(Named(new QToolButton(parent), name), hint, true);
  b->setAutoRaise(true);
  b->setCheckable(true);
  b->setIcon(StatisticIcon(glyph));
  b->setIconSize(QSize(16, 16));
  b->setFixedSize(25, 23);
  return b;
}

void DrawText(QPainter& painter, const QRect& band, const QString& text, int alignment) {
  if (!text.isEmpty())
    painter.drawText(band, alignment | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

// A band of a cell given by Delphi-style edges: top and bottom offsets from the cell's top
// and bottom edges.
QRect Band(const QRect& cell, int top, int bottomInset) {
  return QRect(cell.left(), cell.top() + top, cell.width(),
               std::max(0, cell.height() - top - bottomInset));
}

}  // namespace

// The week table as a Qt model: the raw cells for painting, readable texts for screen readers.
class WeekTableModel : public QAbstractTableModel {
 public:
  explicit WeekTableModel(TformStatistic* form) : QAbstractTableModel(form), form_(form) {}
  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : form_->model().rows();
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : StatisticModel::kColumns;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    const QString cell = form_->model().Cells(index.column(), index.row());
    const bool compare = form_->model().Task2Key() != kNone;
    switch (role) {
      case Qt::UserRole:
        return cell;
      case Qt::DisplayRole:
      case Qt::AccessibleTextRole:
        return index.column() == 7 ? WeekCellAccessibleText(cell, compare)
                                   : DayCellAccessibleText(cell, compare);
      case Qt::SizeHintRole:
        return QSize(kCellWidth, kCellHeight);
      default:
        return {};
    }
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal && section >= 0 && section < StatisticModel::kColumns)
      return form_->model().DayTitles()[size_t(section)];
    return section + 1;
  }
  void Reset() {
    beginResetModel();
    endResetModel();
  }

 private:
  TformStatistic* form_;
};

class WeekHeaderModel : public QAbstractTableModel {
 public:
  explicit WeekHeaderModel(TformStatistic* form) : QAbstractTableModel(form), form_(form) {}
  int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 1; }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : StatisticModel::kColumns;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
      return form_->model().DayTitles()[size_t(index.column())];
    if (role == Qt::SizeHintRole) return QSize(kCellWidth, kHeaderHeight);
    return {};
  }
  void Reset() {
    beginResetModel();
    endResetModel();
  }

 private:
  TformStatistic* form_;
};

// Hands each cell to the window's painting handlers and marks the current cell.
class CellDelegate : public QStyledItemDelegate {
 public:
  CellDelegate(TformStatistic* form, bool header)
      : QStyledItemDelegate(form), form_(form), header_(header) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    painter->save();
    if (header_) {
      form_->gridWeekDrawCell(*painter, option.rect, index.column());
    } else {
      form_->RxDrawGridDrawCell(*painter, option.rect, index.column(), index.row());
      if (option.state & QStyle::State_HasFocus) {
        QPen dotted(Qt::black, 1, Qt::DotLine);
        painter->setPen(dotted);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option.rect.adjusted(1, 1, -2, -2));
      }
    }
    painter->restore();
  }
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return QSize(kCellWidth, header_ ? kHeaderHeight : kCellHeight);
  }

 private:
  TformStatistic* form_;
  bool header_;
};

TformStatistic::TformStatistic(QString storePath, const core::SortedStrings& catalogue,
                               const core::Clock& clock, StatisticServices services,
                               QWidget* parent)
    : QDialog(parent),
      catalogue_(catalogue),
      clock_(clock),
      services_(std::move(services)),
      model_(std::move(storePath)),
      markColours_{kGrey, QColor(0, 0, 0xff), QColor(0xff, 0, 0)} {
  setObjectName(QStringLiteral("formStatistic"));
  setProperty("helpContext", 23);
  CreateComponents();
  model_.SetHooks({
      .currentPage = [this] { return StatisticPage(Notebook1->currentIndex()); },
      .repaintTable = [this] { RepaintTable(); },
      .fillChart = {},
      .fillDetail = {},
      .showTablePage = [this] { btPage0Click(); },
      .periodChanged = [this] { ShowPeriod(); },
  });
}

TformStatistic::~TformStatistic() = default;

void TformStatistic::CreateComponents() {
  setWindowTitle(localisation::LangString(150));
  QFont font = this->font();
  font.setPixelSize(11);
  setFont(font);
  setFixedSize(kWindowWidth, kWindowHeight);
  setSizeGripEnabled(false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  CreateHeader();
  CreateTaskRow();
  CreatePages();
  CreateOptions();
  layout->addWidget(pHeader);
  layout->addWidget(pHeaderTask);
  layout->addWidget(pDetail);
  layout->addWidget(Notebook1, 1);
  layout->addWidget(pOptions);

  auto* bottom = new QHBoxLayout;
  bottom->setContentsMargins(4, 4, 4, 4);
  btOptions = Captioned(Named(new QPushButton(this), "btOptions"), QStringLiteral("Options"));
  btOptions->setCheckable(true);
  btPrint = Captioned(Named(new QPushButton(this), "btPrint"), QStringLiteral("Print"));
  btClose = Captioned(Named(new QPushButton(this), "btClose"), QStringLiteral("Close"));
  for (QPushButton* b : {btOptions, btPrint, btClose}) {
    b->setAutoDefault(false);
    b->setMinimumWidth(75);
  }
  bottom->addWidget(btOptions);
  bottom->addStretch(1);
  bottom->addWidget(btPrint);
  bottom->addWidget(btClose);
  layout->addLayout(bottom);

  connect(btOptions, &QPushButton::toggled, this, [this] { btOptionsClick(); });
  connect(btPrint, &QPushButton::clicked, this, [this] {
    if (services_.print) services_.print();
  });
  btPrint->setEnabled(bool(services_.print));
  connect(btClose, &QPushButton::clicked, this, &QDialog::reject);
}

void TformStatistic::CreateHeader() {
  pHeader = Named(new QFrame(this), "pHeader");
  pHeader->setFixedHeight(28);
  auto* row = new QHBoxLayout(pHeader);
  row->setContentsMargins(4, 2, 4, 2);
  row->setSpacing(4);
  btPage0 = PageButton(pHeader, "btPage0", QStringLiteral("View as table"), StatisticGlyph::Table);
  btPage1 = PageButton(pHeader, "btPage1", QStringLiteral("View as graph"), StatisticGlyph::Graph);
  btPage2 = PageButton(pHeader, "btPage2", QStringLiteral("Detail view"), StatisticGlyph::Detail);
  pageButtons = new QButtonGroup(this);
  pageButtons->setExclusive(true);
  int id = 0;
  for (QToolButton* b : {btPage0, btPage1, btPage2}) {
    pageButtons->addButton(b, id++);
    row->addWidget(b);
  }
  btPage0->setChecked(true);
  connect(btPage0, &QToolButton::clicked, this, [this] { btPage0Click(); });
  connect(btPage1, &QToolButton::clicked, this, [this] { btPage1Click(); });
  connect(btPage2, &QToolButton::clicked, this, [this] { btPage2Click(); });
  row->addSpacing(8);

  lUser = NavyLabel(pHeader, "lUser", QStringLiteral("User"));
  cbUser = Named(new QComboBox(pHeader), "cbUser");
  cbUser->setEditable(false);
  cbUser->setMinimumWidth(110);
  cbUser->setAccessibleName(QStringLiteral("User"));
  lUser->setBuddy(cbUser);
  row->addWidget(lUser);
  row->addWidget(cbUser);
  row->addSpacing(8);
  connect(cbUser, &QComboBox::currentIndexChanged, this, [this] { cbUserChange(); });

  lPeriod = NavyLabel(pHeader, "lPeriod", QStringLiteral("Period"));
  btSelectPeriod = Hinted(Named(new QToolButton(pHeader), "btSelectPeriod"),
                          QStringLiteral("Select period from list"), true);
  btSelectPeriod->setIcon(StatisticIcon(StatisticGlyph::DropDown));
  btSelectPeriod->setFixedSize(21, 21);
  btSelectPeriod->setPopupMode(QToolButton::InstantPopup);
  btSelectPeriod->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; }"));
  lPeriod->setBuddy(btSelectPeriod);
  popDates = Named(new QMenu(this), "popDates");
  presetGroup = new QActionGroup(this);
  presetGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  auto item = [this](const char* name, const QString& caption, PeriodPreset preset) {
    QAction* a = popDates->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setCheckable(true);
    presetGroup->addAction(a);
    connect(a, &QAction::triggered, this, [this, preset] { mnMonthClick(preset); });
    return a;
  };
  mnDay = item("mnDay", QStringLiteral("Day"), PeriodPreset::Day);
  mnWeek = item("mnWeek", QStringLiteral("Week"), PeriodPreset::Week);
  mnTwoWeeks = item("mnTwoWeeks", QStringLiteral("Two weeks"), PeriodPreset::TwoWeeks);
  mnMonth = item("mnMonth", QStringLiteral("Month"), PeriodPreset::Month);
  mnWeek->setChecked(true);
  btSelectPeriod->setMenu(popDates);
  connect(popDates, &QMenu::aboutToShow, this, [this] { popDatesPopup(); });

  lFrom = Captioned(Named(new QLabel(pHeader), "lFrom"), QStringLiteral("From"));
  dateFrom = Named(new DateField(pHeader, true), "dateFrom");
  dateFrom->edit()->setAccessibleName(QStringLiteral("From"));
  lFrom->setBuddy(dateFrom->edit());
  lTo = Captioned(Named(new QLabel(pHeader), "lTo"), QStringLiteral("to"));
  dateTo = Named(new DateField(pHeader, false), "dateTo");
  dateTo->edit()->setAccessibleName(QStringLiteral("to"));
  lTo->setBuddy(dateTo->edit());
  const int dateWidth =
      QFontMetrics(font()).horizontalAdvance(QStringLiteral("00/00/00000")) + 10 + 21;
  for (DateField* d : {dateFrom, dateTo}) {
    d->setFixedWidth(dateWidth);
    d->button()->setFixedSize(18, 21);
    d->edit()->setFixedHeight(21);
    connect(d, &DateField::dateChanged, this, [this] { dateToChange(); });
  }
  row->addWidget(lPeriod);
  row->addWidget(btSelectPeriod);
  row->addSpacing(4);
  row->addWidget(lFrom);
  row->addWidget(dateFrom);
  row->addWidget(lTo);
  row->addWidget(dateTo);
  row->addStretch(1);
}

void TformStatistic::CreateTaskRow() {
  pHeaderTask = Named(new QFrame(this), "pHeaderTask");
  auto* grid = new QGridLayout(pHeaderTask);
  grid->setContentsMargins(4, 2, 4, 2);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(2);
  btDownUp =
      Hinted(Named(new QToolButton(pHeaderTask), "btDownUp"), QStringLiteral("Compare with"), true);
  btDownUp->setAutoRaise(true);
  btDownUp->setFixedSize(21, 21);
  btDownUp->setIcon(StatisticIcon(StatisticGlyph::ArrowDown));
  connect(btDownUp, &QToolButton::clicked, this, [this] { btDownUpClick(); });

  lSelectTask = NavyLabel(pHeaderTask, "lSelectTask", QStringLiteral("Task"));
  lSelectTask->setToolTip(QStringLiteral("Select task from list"));
  TreeViewTask1 = Named(new QTreeWidget, "TreeViewTask1");
  cbTask1 = Named(new ComboTreeEdit(pHeaderTask, TreeViewTask1), "cbTask1");
  cbTask1->setAccessibleName(QStringLiteral("Task"));
  lSelectTask->setBuddy(cbTask1);
  lTotal = Named(new QLabel(pHeaderTask), "lTotal");

  lTaskCompare = NavyLabel(pHeaderTask, "lTaskCompare", QStringLiteral("Compare"));
  lTaskCompare->setToolTip(QStringLiteral("Select task to compare"));
  TreeViewTask2 = Named(new QTreeWidget, "TreeViewTask2");
  cbTask2 = Named(new ComboTreeEdit(pHeaderTask, TreeViewTask2), "cbTask2");
  cbTask2->setAccessibleName(QStringLiteral("Compare"));
  lTaskCompare->setBuddy(cbTask2);
  lTotal2 = Named(new QLabel(pHeaderTask), "lTotal2");

  for (ComboTreeEdit* e : {cbTask1, cbTask2}) {
    e->setFixedSize(200, 21);
    connect(e->tree(), &QTreeWidget::currentItemChanged, this, [this] { TreeViewTask1Change(); });
    connect(e, &ComboTreeEdit::afterSelect, this, [this] { TreeViewTask1AfterSelect(); });
    connect(e, &ComboTreeEdit::keyUp, this, [this, e](int key) { cbTask1KeyUp(e, key); });
  }
  grid->addWidget(btDownUp, 0, 0);
  grid->addWidget(lSelectTask, 0, 1);
  grid->addWidget(cbTask1, 0, 2);
  grid->addWidget(lTotal, 0, 3);
  grid->addWidget(lTaskCompare, 1, 1);
  grid->addWidget(cbTask2, 1, 2);
  grid->addWidget(lTotal2, 1, 3);
  grid->setColumnStretch(3, 1);
  grid->setRowMinimumHeight(0, 23);
  SetTaskRowHeight(StatisticSettings::kTaskRowHeight);

  // The detail page brings its own header in place of the task row.
  pDetail = Named(new QFrame(this), "pDetail");
  pDetail->setFixedHeight(StatisticSettings::kTaskRowHeight);
  pDetail->hide();
}

void TformStatistic::CreatePages() {
  Notebook1 = Named(new QStackedWidget(this), "Notebook1");
  pageGrid = Named(new QWidget(Notebook1), "Grid");
  pageGraph = Named(new QWidget(Notebook1), "Graph");
  pageDetail = Named(new QWidget(Notebook1), "Detail");

  lSmallFont = Named(new QLabel(this), "lSmallFont");
  QFont small = font();
  small.setPixelSize(9);
  lSmallFont->setFont(small);
  lSmallFont->hide();
  lNormalFont = Named(new QLabel(this), "lNormalFont");
  QFont normal = font();
  normal.setPixelSize(11);
  normal.setBold(false);
  lNormalFont->setFont(normal);
  lNormalFont->hide();

  tableModel_ = new WeekTableModel(this);
  headerModel_ = new WeekHeaderModel(this);
  auto setUp = [this](QTableView* view, int height) {
    view->horizontalHeader()->hide();
    view->verticalHeader()->hide();
    view->horizontalHeader()->setMinimumSectionSize(10);
    view->horizontalHeader()->setDefaultSectionSize(kCellWidth);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setMinimumSectionSize(10);
    view->verticalHeader()->setDefaultSectionSize(height);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->setCornerButtonEnabled(false);
  };
  gridWeek = Named(new QTableView(pageGrid), "gridWeek");
  setUp(gridWeek, kHeaderHeight);
  gridWeek->setModel(headerModel_);
  gridWeek->setItemDelegate(new CellDelegate(this, true));
  gridWeek->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  gridWeek->setFrameShape(QFrame::NoFrame);
  gridWeek->setFocusPolicy(Qt::NoFocus);
  gridWeek->setFixedHeight(kHeaderHeight + 1);
  gridWeek->setAccessibleName(QStringLiteral("Days of the week"));

  RxDrawGrid = Named(new QTableView(pageGrid), "RxDrawGrid");
  setUp(RxDrawGrid, kCellHeight);
  RxDrawGrid->setModel(tableModel_);
  RxDrawGrid->setItemDelegate(new CellDelegate(this, false));
  RxDrawGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RxDrawGrid->setTabKeyNavigation(false);
  RxDrawGrid->setAccessibleName(QStringLiteral("Week table"));

  auto* page = new QVBoxLayout(pageGrid);
  page->setContentsMargins(4, 0, 4, 0);
  page->setSpacing(0);
  // The header row sits over the table's cells, inside its frame.
  auto* headerRow = new QHBoxLayout;
  headerRow->setContentsMargins(RxDrawGrid->frameWidth(), 0, 0, 0);
  headerRow->addWidget(gridWeek, 0, Qt::AlignLeft);
  page->addLayout(headerRow);
  page->addWidget(RxDrawGrid, 1, Qt::AlignLeft);
  gridWeek->setFixedWidth(kCellWidth * StatisticModel::kColumns + 1);
  RxDrawGrid->setFixedWidth(kCellWidth * StatisticModel::kColumns + 1 +
                            2 * RxDrawGrid->frameWidth() +
                            RxDrawGrid->verticalScrollBar()->sizeHint().width());

  Notebook1->addWidget(pageGrid);
  Notebook1->addWidget(pageGraph);
  Notebook1->addWidget(pageDetail);
  connect(Notebook1, &QStackedWidget::currentChanged, this, [this] { Notebook1PageChanged(); });
}

void TformStatistic::CreateOptions() {
  pOptions = Named(new QFrame(this), "pOptions");
  pOptions->setFixedHeight(80);
  pOptions->setFrameShape(QFrame::StyledPanel);
  auto* row = new QHBoxLayout(pOptions);
  row->setContentsMargins(4, 2, 4, 2);

  gbFormat = Named(new QGroupBox(QStringLiteral("Format"), pOptions), "gbFormat");
  gbFormat->setAccessibleName(gbFormat->title());
  auto* format = new QVBoxLayout(gbFormat);
  format->setContentsMargins(6, 2, 6, 2);
  format->setSpacing(0);
  rbAmer = Captioned(Named(new QRadioButton(gbFormat), "rbAmer"), QStringLiteral("Sun - Sat"));
  rbEuro = Captioned(Named(new QRadioButton(gbFormat), "rbEuro"), QStringLiteral("Mon - Sun"));
  rbEuro->setChecked(true);
  format->addWidget(rbAmer);
  format->addWidget(rbEuro);
  connect(rbAmer, &QRadioButton::clicked, this, [this] { cbUserChange(); });
  connect(rbEuro, &QRadioButton::clicked, this, [this] { cbUserChange(); });
  row->addWidget(gbFormat);

  gbMarkDays = Named(new QGroupBox(QStringLiteral("Mark days"), pOptions), "gbMarkDays");
  gbMarkDays->setAccessibleName(gbMarkDays->title());
  auto* marks = new QGridLayout(gbMarkDays);
  marks->setContentsMargins(6, 0, 6, 2);
  marks->setHorizontalSpacing(4);
  marks->setVerticalSpacing(0);
  auto markLabel = [this](const char* name, int mark) {
    auto* l = Named(new QLabel(QStringLiteral("01.01"), gbMarkDays), name);
    l->setToolTip(QStringLiteral("Choose color..."));
    l->setAccessibleName(QStringLiteral("Choose color..."));
    l->setAutoFillBackground(true);
    l->setAlignment(Qt::AlignCenter);
    l->setFrameShape(QFrame::Box);
    l->setFixedSize(36, 17);
    l->setFocusPolicy(Qt::StrongFocus);
    l->setCursor(Qt::PointingHandCursor);
    l->setProperty("mark", mark);
    l->installEventFilter(this);
    return l;
  };
  lMark1 = markLabel("lMark1", 0);
  lMark2 = markLabel("lMark2", 1);
  lMark3 = markLabel("lMark3", 2);
  auto spin = [this](const char* name, int value) {
    auto* s = Named(new QSpinBox(gbMarkDays), name);
    s->setRange(1, 24);
    s->setValue(value);
    s->setFixedHeight(19);
    s->setAccessibleName(QStringLiteral("Worked more than"));
    connect(s, &QSpinBox::valueChanged, this, [this] { edMark2Change(); });
    return s;
  };
  edMark2 = spin("edMark2", 6);
  edMark3 = spin("edMark3", 8);
  auto text = [this](const QString& caption) { return Captioned(new QLabel(gbMarkDays), caption); };
  marks->addWidget(lMark1, 0, 0);
  marks->addWidget(text(QStringLiteral("not worked")), 0, 1, 1, 3);
  marks->addWidget(lMark2, 1, 0);
  marks->addWidget(text(QStringLiteral("Worked more than")), 1, 1);
  marks->addWidget(edMark2, 1, 2);
  marks->addWidget(text(QStringLiteral("hours")), 1, 3);
  marks->addWidget(lMark3, 2, 0);
  marks->addWidget(text(QStringLiteral("Worked more than")), 2, 1);
  marks->addWidget(edMark3, 2, 2);
  marks->addWidget(text(QStringLiteral("hours")), 2, 3);
  row->addWidget(gbMarkDays);
  for (int i = 0; i < 3; ++i) SetMarkColour(i, markColours_[size_t(i)]);

  row->addStretch(1);
  btCustomizeTasks = Captioned(Named(new QPushButton(pOptions), "btCustomizeTasks"),
                               QStringLiteral("Customize tasks"));
  btCustomizeTasks->setAutoDefault(false);
  btCustomizeTasks->setEnabled(bool(services_.customizeTasks));
  connect(btCustomizeTasks, &QPushButton::clicked, this, [this] { btCustomizeTasksClick(); });
  row->addWidget(btCustomizeTasks, 0, Qt::AlignBottom);
  pOptions->hide();
}

bool TformStatistic::eventFilter(QObject* watched, QEvent* event) {
  for (QLabel* mark : {lMark1, lMark2, lMark3}) {
    if (watched != mark) continue;
    const bool click = event->type() == QEvent::MouseButtonRelease &&
                       static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    const bool key = event->type() == QEvent::KeyPress &&
                     (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space ||
                      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return);
    if (click || key) {
      lMark2Click(mark->property("mark").toInt());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TformStatistic::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!firstShow_) return;
  firstShow_ = false;
  FormShow();
}

// Opening and closing.

void TformStatistic::RestoreFormStorage() {
  const core::FormStorage storage(QString::fromLatin1(StatisticSettings::kSection));
  StatisticSettings settings;
  settings.Restore(storage);
  ApplySettings(settings);
}

void TformStatistic::SaveFormStorage() const {
  core::FormStorage storage(QString::fromLatin1(StatisticSettings::kSection));
  CurrentSettings().Save(storage);
  storage.Sync();
}

StatisticSettings TformStatistic::CurrentSettings() const {
  StatisticSettings s;
  s.weekStyle = rbAmer->isChecked() ? WeekStyle::SundayToSaturday : WeekStyle::MondayToSunday;
  for (int i = 0; i < 3; ++i) s.markColours[size_t(i)] = markColours_[size_t(i)].rgb() & 0xFFFFFF;
  s.mark2 = edMark2->value();
  s.mark3 = edMark3->value();
  s.dateFromText = dateFrom->text();
  s.dateToText = dateTo->text();
  s.presets = {mnDay->isChecked(), mnWeek->isChecked(), mnTwoWeeks->isChecked(),
               mnMonth->isChecked()};
  s.taskRowHeight = pHeaderTask->maximumHeight();
  s.page = Notebook1->currentIndex();
  s.detailPage = detailPage_;
  return s;
}

void TformStatistic::ApplySettings(const StatisticSettings& s) {
  (s.weekStyle == WeekStyle::SundayToSaturday ? rbAmer : rbEuro)->setChecked(true);
  for (int i = 0; i < 3; ++i) SetMarkColour(i, QColor::fromRgb(s.markColours[size_t(i)]));
  edMark2->setValue(s.mark2);
  edMark3->setValue(s.mark3);
  dateFrom->setText(s.dateFromText);
  dateTo->setText(s.dateToText);
  for (QAction* a : {mnDay, mnWeek, mnTwoWeeks, mnMonth}) a->setChecked(false);
  const PeriodPreset preset = s.CheckedPreset();
  if (preset != PeriodPreset::None) {
    QAction* items[] = {nullptr, mnDay, mnWeek, mnTwoWeeks, mnMonth};
    items[int(preset)]->setChecked(true);
  }
  SetTaskRowHeight(s.taskRowHeight);
  Notebook1->setCurrentIndex(s.page);
  detailPage_ = s.detailPage;
}

void TformStatistic::FillUsers(const QStringList& users, const QString& currentUser) {
  cbUser->clear();
  cbUser->addItems(users);
  if (cbUser->count() == 0) cbUser->addItem(currentUser);
  int index = cbUser->findText(currentUser, Qt::MatchExactly | Qt::MatchCaseSensitive);
  // The window always has a user, also when the counting user is not in the store yet.
  if (index < 0) index = cbUser->findText(currentUser, Qt::MatchFixedString);
  if (index < 0) index = 0;
  cbUser->setCurrentIndex(index);
}

void TformStatistic::FormShow() {
  model_.SetTaskKeys(QString(), QString());
  setWindowTitle(localisation::LangString(150));
  BuildTaskLists();
  if (QAbstractButton* b = pageButtons->button(Notebook1->currentIndex())) b->setChecked(true);
  UpdatePanels();
  SetBusy(false);
  // A stored preset is applied again relative to today; otherwise the stored dates stay.
  const std::pair<QAction*, PeriodPreset> presets[] = {{mnDay, PeriodPreset::Day},
                                                       {mnWeek, PeriodPreset::Week},
                                                       {mnTwoWeeks, PeriodPreset::TwoWeeks},
                                                       {mnMonth, PeriodPreset::Month}};
  for (const auto& [item, preset] : presets) {
    if (item->isChecked()) {
      mnMonthClick(preset);
      return;
    }
  }
  cbUserChange();
}

// Pages and panels.

void TformStatistic::ShowPage(int page) {
  CloseDropDowns();
  Notebook1->setCurrentIndex(page);
  if (QAbstractButton* b = pageButtons->button(page)) b->setChecked(true);
  UpdatePanels();
}

void TformStatistic::Notebook1PageChanged() {
  if (Busy()) return;
  // The chart and the detail page fill themselves from the model when they are shown.
}

void TformStatistic::UpdatePanels() {
  const int page = Notebook1->currentIndex();
  pDetail->setVisible(page == 2);
  pHeaderTask->setVisible(page != 2);
  btDownUp->setIcon(
      StatisticIcon(pHeaderTask->maximumHeight() >= StatisticSettings::kTaskRowHeightCompare
                        ? StatisticGlyph::ArrowUp
                        : StatisticGlyph::ArrowDown));
}

void TformStatistic::btOptionsClick() { pOptions->setVisible(btOptions->isChecked()); }

QColor TformStatistic::MarkColour(int mark) const {
  return markColours_[size_t(std::clamp(mark, 0, 2))];
}

void TformStatistic::SetMarkColour(int mark, const QColor& colour) {
  markColours_[size_t(mark)] = colour;
  QLabel* label = mark == 0 ? lMark1 : mark == 1 ? lMark2 : lMark3;
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  palette.setColor(QPalette::Window, kWhite);
  label->setPalette(palette);
}

void TformStatistic::lMark2Click(int mark) {
  if (mark < 0 || mark > 2) return;
  const QColor current = MarkColour(mark);
  std::optional<QColor> chosen;
  if (chooseColour) {
    chosen = chooseColour(current);
  } else {
    const QColor c = QColorDialog::getColor(current, this, QStringLiteral("Choose color..."));
    if (c.isValid()) chosen = c;
  }
  if (!chosen || !chosen->isValid()) return;
  SetMarkColour(mark, *chosen);
  Run([this] { model_.FillCells(); });
  RepaintTable();
}

void TformStatistic::edMark2Change() {
  Run([this] { model_.FillCells(); });
  RepaintTable();
}

void TformStatistic::popDatesPopup() { CloseDropDowns(); }

void TformStatistic::CloseDropDowns() {
  cbTask1->CloseUp();
  cbTask2->CloseUp();
}

// The period and the reload.

bool TformStatistic::TakeInputs() {
  model_.SetUser(cbUser->currentText());
  model_.SetDates(dateFrom->date(), dateTo->date());
  model_.SetWeekStyle(rbAmer->isChecked() ? WeekStyle::SundayToSaturday
                                          : WeekStyle::MondayToSunday);
  const QString key1 = GetSelectedKey(TreeViewTask1);
  const QString key2 = GetSelectedKey(TreeViewTask2);
  model_.SetTaskKeys(key1, key2);
  if (key1.isEmpty() || key2.isEmpty()) return false;
  cbTask1->setText(GetSelectedText(TreeViewTask1));
  cbTask2->setText(GetSelectedText(TreeViewTask2));
  return true;
}

void TformStatistic::Run(const std::function<void()>& step) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    step();
  } catch (const core::Error& e) {
    QApplication::restoreOverrideCursor();
    QMessageBox::critical(this, QStringLiteral("Horalog 2.0"), e.message());
    return;
  }
  QApplication::restoreOverrideCursor();
}

void TformStatistic::ShowPeriod() {
  const QSignalBlocker blockFrom(dateFrom);
  const QSignalBlocker blockTo(dateTo);
  dateFrom->setDate(model_.dateFrom());
  dateTo->setDate(model_.dateTo());
  const PeriodPreset preset = model_.checkedPreset();
  mnDay->setChecked(preset == PeriodPreset::Day);
  mnWeek->setChecked(preset == PeriodPreset::Week);
  mnTwoWeeks->setChecked(preset == PeriodPreset::TwoWeeks);
  mnMonth->setChecked(preset == PeriodPreset::Month);
}

void TformStatistic::ShowTotals() {
  lTotal->setText(model_.lTotal());
  lTotal2->setText(model_.lTotal2());
}

void TformStatistic::mnMonthClick(PeriodPreset preset) {
  if (Busy()) return;
  TakeInputs();
  Run([&] { model_.mnMonthClick(preset, clock_.Now().date()); });
  ShowPeriod();
  ShowTotals();
}

void TformStatistic::dateToChange() {
  if (Busy()) return;
  TakeInputs();
  Run([this] { model_.dateToChange(); });
  ShowTotals();
}

void TformStatistic::cbUserChange() {
  if (Busy()) return;
  if (!TakeInputs()) return;
  Run([this] { model_.cbUserChange(); });
  ShowTotals();
}

void TformStatistic::RepaintTable() {
  const QModelIndex current = RxDrawGrid->currentIndex();
  tableModel_->Reset();
  headerModel_->Reset();
  if (current.isValid()) {
    const int row = std::min(current.row(), tableModel_->rowCount() - 1);
    if (row >= 0) RxDrawGrid->setCurrentIndex(tableModel_->index(row, current.column()));
  }
  gridWeek->viewport()->update();
  RxDrawGrid->viewport()->update();
}

// Task selection.

void TformStatistic::BuildTaskLists() {
  model_.BuildTaskLists(catalogue_);

  TaskTreePictures pictures;
  QList<QIcon> images;
  pictures.enabled = services_.showIcons && services_.showIcons();
  const core::SortedStrings* icons = nullptr;
  if (pictures.enabled) {
    if (services_.loadAppIcons) services_.loadAppIcons();
    images = {StatisticIcon(StatisticGlyph::None), StatisticIcon(StatisticGlyph::Total)};
    const QList<QIcon> groups =
        services_.groupPictures ? services_.groupPictures() : QList<QIcon>();
    pictures.basePictures = int(images.size());
    pictures.groupPictures = int(groups.size());
    images += groups;
    if (services_.appIcons) images += services_.appIcons();
    icons = services_.iconList ? services_.iconList() : nullptr;
    if (icons) {
      pictures.iconIndex = [icons](const QString& application) {
        qsizetype index = 0;
        return core::FindTabKey(*icons, application, index) ? int(index) : -1;
      };
    }
  }
  const auto groupName =
      services_.groupName ? services_.groupName : std::function<QString(int)>(options::GroupName);

  for (QTreeWidget* tree : {TreeViewTask1, TreeViewTask2}) {
    const QSignalBlocker block(tree);
    tree->clear();
    const std::vector<TaskNode> nodes = BuildTaskNodes(model_.taskLists().slTaskSortedGroup(),
                                                       tree == TreeViewTask2, groupName, pictures);
    std::vector<QTreeWidgetItem*> items;
    items.reserve(nodes.size());
    QList<QTreeWidgetItem*> roots;
    for (const TaskNode& node : nodes) {
      QTreeWidgetItem* parent = node.parent >= 0 ? items[size_t(node.parent)] : nullptr;
      auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem;
      item->setText(0, node.text);
      item->setData(0, Qt::UserRole, node.data);
      if (node.picture >= 0 && node.picture < images.size()) item->setIcon(0, images[node.picture]);
      if (!parent) roots.push_back(item);
      items.push_back(item);
    }
    tree->addTopLevelItems(roots);
    tree->expandAll();
    tree->setIconSize(QSize(16, 16));
    if (tree->topLevelItemCount() > 0) tree->setCurrentItem(tree->topLevelItem(0));
  }
  // Without pictures the trees have no room for them either.
  if (!pictures.enabled) {
    for (QTreeWidget* tree : {TreeViewTask1, TreeViewTask2}) tree->setIconSize(QSize(0, 0));
  }
  cbTask1->setText(GetSelectedText(TreeViewTask1));
  cbTask2->setText(GetSelectedText(TreeViewTask2));
}

QString TformStatistic::GetSelectedKey(const QTreeWidget* tree) const {
  const QTreeWidgetItem* item = tree ? tree->currentItem() : nullptr;
  if (!item) return {};
  return TaskNodeKey(item->text(0), item->parent() != nullptr, item->data(0, Qt::UserRole).toInt(),
                     model_.taskLists().slTaskSortedGroup());
}

QString TformStatistic::GetSelectedText(const QTreeWidget* tree) const {
  const QTreeWidgetItem* item = tree ? tree->currentItem() : nullptr;
  return item ? item->text(0) : QString();
}

void TformStatistic::TreeViewTask1Change() { cbUserChange(); }

void TformStatistic::TreeViewTask1AfterSelect() { RepaintTable(); }

void TformStatistic::cbTask1KeyUp(ComboTreeEdit* edit, int key) {
  if (key != Qt::Key_Down && key != Qt::Key_Up) return;
  {
    // One reload for the step, not one for the selection change and one for the key.
    const QSignalBlocker block(edit->tree());
    StepTreeSelection(edit->tree(), key == Qt::Key_Down);
  }
  cbUserChange();
}

void TformStatistic::SetTaskRowHeight(int height) {
  const bool compare = height >= StatisticSettings::kTaskRowHeightCompare;
  pHeaderTask->setFixedHeight(compare ? StatisticSettings::kTaskRowHeightCompare
                                      : StatisticSettings::kTaskRowHeight);
  for (QWidget* w : std::initializer_list<QWidget*>{lTaskCompare, cbTask2, lTotal2})
    w->setVisible(compare);
}

void TformStatistic::btDownUpClick() {
  CloseDropDowns();
  if (pHeaderTask->maximumHeight() >= StatisticSettings::kTaskRowHeightCompare) {
    SetTaskRowHeight(StatisticSettings::kTaskRowHeight);
    {
      const QSignalBlocker block(TreeViewTask2);
      if (TreeViewTask2->topLevelItemCount() > 0)
        TreeViewTask2->setCurrentItem(TreeViewTask2->topLevelItem(0));
    }
    model_.SetTaskKeys(model_.Task1Key(), kNone);
    cbUserChange();
    lTotal2->clear();
  } else {
    SetTaskRowHeight(StatisticSettings::kTaskRowHeightCompare);
  }
  UpdatePanels();
}

void TformStatistic::btCustomizeTasksClick() {
  if (!services_.customizeTasks) return;
  if (!services_.customizeTasks()) return;
  SetBusy(true);
  try {
    BuildTaskLists();
  } catch (...) {
    SetBusy(false);
    throw;
  }
  SetBusy(false);
  cbUserChange();
}

// Painting.

void TformStatistic::RxDrawGridDrawCell(QPainter& painter, const QRect& rect, int column,
                                        int row) const {
  const QString cell = model_.Cells(column, row);
  const bool compare = model_.Task2Key() != kNone;
  const QColor buttonText = palette().color(QPalette::ButtonText);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(rect, kWhite);
  QFont normal = lNormalFont->font();

  if (column == 7) {
    const WeekCellTexts t = SplitWeekCell(cell);
    normal.setBold(true);
    painter.setFont(normal);
    if (!compare) {
      painter.setPen(buttonText);
      DrawText(painter, rect, t.week1, Qt::AlignHCenter);
    } else {
      painter.setPen(buttonText);
      DrawText(painter, Band(rect, 17, 0), t.week2, Qt::AlignHCenter);
      painter.setPen(kGrey);
      DrawText(painter, Band(rect, 0, 15), t.week1, Qt::AlignHCenter);
    }
    return;
  }

  const DayCellTexts t = SplitDayCell(cell);
  QColor labelColour = lSmallFont->palette().color(QPalette::WindowText);
  switch (DayLabelMark(t.time1, edMark2->value(), edMark3->value())) {
    case DayMark::Plain:
      break;
    case DayMark::NotWorked:
      labelColour = markColours_[0];
      break;
    case DayMark::Mark2:
      labelColour = markColours_[1];
      break;
    case DayMark::Mark3:
      labelColour = markColours_[2];
      break;
  }
  painter.setFont(lSmallFont->font());
  painter.setPen(labelColour);
  DrawText(painter, Band(rect, 0, 25), t.label, Qt::AlignRight);

  painter.setFont(normal);
  if (!compare) {
    painter.setPen(buttonText);
    DrawText(painter, Band(rect, 10, 0), t.time1, Qt::AlignHCenter);
  } else {
    painter.setPen(buttonText);
    DrawText(painter, Band(rect, 22, 0), t.time2, Qt::AlignHCenter);
    painter.setPen(kGrey);
    DrawText(painter, Band(rect, 10, 13), t.time1, Qt::AlignHCenter);
  }

  if (t.label.isEmpty()) {
    // Outside the period: hatched over the whole cell, outline included.
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(QBrush(kSilver, Qt::BDiagPattern));
    painter.drawRect(QRect(rect.left() - 1, rect.top() - 1, rect.width() + 1, rect.height() + 1));
  }
}

void TformStatistic::gridWeekDrawCell(QPainter& painter, const QRect& rect, int column) const {
  QFont bold = font();
  bold.setBold(true);
  painter.setFont(bold);
  const QColor background = column == 7                                 ? kPink
                            : WeekendColumn(column, model_.weekStyle()) ? kSilver
                                                                        : kWhite;
  painter.fillRect(rect, background);
  dayTitles_ = model_.DayTitles();
  painter.setPen(Qt::black);
  if (column >= 0 && column < StatisticModel::kColumns)
    DrawText(painter, rect, dayTitles_[size_t(column)], Qt::AlignHCenter);
}

}  // namespace statistics
