#include "app/HistoryDlg.h"

#include <QChart>
#include <QChartView>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <set>

#include "app/Translations.h"
#include "platform/Translation.h"

namespace roviro {

namespace {

QString Latin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

const char* KindText(VisitKind kind) {
  switch (kind) {
    case VisitKind::kDownload:
      return TX_NOOP("Lesen");
    case VisitKind::kUpload:
      return TX_NOOP("Schreiben");
    case VisitKind::kOperatingData:
      return TX_NOOP("Betriebsdaten");
  }
  return "";
}

QString RunningText(std::int64_t seconds) {
  if (seconds < 0) return QStringLiteral("-");
  return QStringLiteral("%1 h %2 min")
      .arg(seconds / 3600)
      .arg(seconds / 60 % 60, 2, 10, QChar('0'));
}

}  // namespace

CHistoryDlg::CHistoryDlg(const std::string& motorKey, std::vector<StoredVisit> visits,
                         QWidget* parent)
    : QDialog(parent), m_visits(std::move(visits)) {
  setWindowTitle(QTx("Verlauf des Motors %1").arg(Latin1(motorKey)));
  auto* layout = new QVBoxLayout(this);

  m_table = new QTableWidget(static_cast<int>(m_visits.size()), 6, this);
  m_table->setHorizontalHeaderLabels(
      {QTx("Zeit"), QTx("Station"), QTx("Monteur"), QTx("Was"), QTx("Ergebnis"), QTx("Laufzeit")});
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->setSelectionMode(QAbstractItemView::SingleSelection);
  m_table->verticalHeader()->hide();
  m_table->horizontalHeader()->setStretchLastSection(true);
  for (int row = 0; row < static_cast<int>(m_visits.size()); ++row) {
    const StoredVisit& v = m_visits[static_cast<std::size_t>(row)];
    QString what = QTx(KindText(v.visit.kind));
    if (!v.setDigest.empty()) what += QTx(" (mit Satz)");
    const QString cells[] = {Latin1(v.local),        Latin1(v.station),
                             Latin1(v.fitter),       what,
                             Latin1(v.visit.result), RunningText(v.visit.runningSeconds)};
    for (int c = 0; c < 6; ++c) m_table->setItem(row, c, new QTableWidgetItem(cells[c]));
  }
  m_table->resizeColumnsToContents();
  layout->addWidget(m_table, 3);

  // Running time (hours) and the two counters over the visits that read them.
  auto* chart = new QChart;
  auto* running = new QLineSeries;
  running->setName(QTx("Laufzeit (h)"));
  auto* counter1 = new QLineSeries;
  counter1->setName(QTx("Z\xE4hler 1"));
  auto* counter2 = new QLineSeries;
  counter2->setName(QTx("Z\xE4hler 2"));
  double top = 1;
  std::set<int> events;
  for (std::size_t i = 0; i < m_visits.size(); ++i) {
    const Visit& v = m_visits[i].visit;
    const auto x = static_cast<double>(i + 1);
    if (v.runningSeconds >= 0) {
      running->append(x, static_cast<double>(v.runningSeconds) / 3600.0);
      top = std::max(top, static_cast<double>(v.runningSeconds) / 3600.0);
    }
    if (v.counter1 >= 0) {
      counter1->append(x, v.counter1);
      counter2->append(x, v.counter2);
      top = std::max({top, static_cast<double>(v.counter1), static_cast<double>(v.counter2)});
    }
    for (std::uint8_t e : v.events) events.insert(e);
  }
  chart->addSeries(running);
  chart->addSeries(counter1);
  chart->addSeries(counter2);
  auto* axisX = new QValueAxis;
  axisX->setTitleText(QTx("Besuch"));
  axisX->setLabelFormat(QStringLiteral("%d"));
  const double last = std::max<double>(2, static_cast<double>(m_visits.size()));
  axisX->setRange(1, last);
  // Whole visit numbers only, at most about ten of them.
  axisX->setTickType(QValueAxis::TicksDynamic);
  axisX->setTickAnchor(1);
  axisX->setTickInterval(std::max(1.0, std::ceil((last - 1) / 9)));
  auto* axisY = new QValueAxis;
  axisY->setRange(0, top * 1.1);
  chart->addAxis(axisX, Qt::AlignBottom);
  chart->addAxis(axisY, Qt::AlignLeft);
  for (QLineSeries* s : {running, counter1, counter2}) {
    s->attachAxis(axisX);
    s->attachAxis(axisY);
  }
  chart->legend()->setAlignment(Qt::AlignBottom);
  auto* view = new QChartView(chart, this);
  view->setRenderHint(QPainter::Antialiasing);
  view->setMinimumHeight(220);
  layout->addWidget(view, 2);

  QString seen;
  for (int e : events) seen += QStringLiteral("%1 ").arg(e, 2, 16, QChar('0')).toUpper();
  auto* eventLine = new QLabel(
      QTx("Ereigniscodes: %1").arg(seen.isEmpty() ? QTx("keine") : seen.trimmed()), this);
  layout->addWidget(eventLine);

  auto* buttons = new QDialogButtonBox(this);
  m_load = buttons->addButton(QTx("Satz laden"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QTx("Schlie\xDF"
                         "en"),
                     QDialogButtonBox::RejectRole);
  m_load->setEnabled(false);
  layout->addWidget(buttons);
  connect(m_table, &QTableWidget::itemSelectionChanged, this, [this] { OnSelection(); });
  connect(m_table, &QTableWidget::cellDoubleClicked, this, [this] {
    if (m_load->isEnabled()) OnLoad();
  });
  connect(m_load, &QPushButton::clicked, this, [this] { OnLoad(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  resize(760, 560);
}

void CHistoryDlg::OnSelection() {
  const int row = m_table->currentRow();
  m_load->setEnabled(row >= 0 && row < static_cast<int>(m_visits.size()) &&
                     !m_visits[static_cast<std::size_t>(row)].setDigest.empty());
}

void CHistoryDlg::OnLoad() {
  const int row = m_table->currentRow();
  if (row < 0 || row >= static_cast<int>(m_visits.size())) return;
  m_chosen = m_visits[static_cast<std::size_t>(row)].setDigest;
  if (!m_chosen.empty()) accept();
}

}  // namespace roviro
