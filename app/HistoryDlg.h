#pragma once
// "Verlauf...": the visits of the motor on screen 1 from every station (time, station, fitter,
// what, result, running time), a chart of the running time and the two counters over the
// visits, and the event codes seen. A visit that has a set can be chosen to be loaded.

#include <QDialog>

#include <string>
#include <vector>

#include "records/RecordStore.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace roviro {

class CHistoryDlg : public QDialog {
  Q_OBJECT

 public:
  CHistoryDlg(const std::string& motorKey, std::vector<StoredVisit> visits,
              QWidget* parent = nullptr);

  // The digest of the set of the visit chosen with "Satz laden"; empty when none was.
  const std::string& ChosenSet() const { return m_chosen; }
  QTableWidget* Table() const { return m_table; }
  QPushButton* LoadButton() const { return m_load; }

 private:
  void OnSelection();
  void OnLoad();

  std::vector<StoredVisit> m_visits;
  QTableWidget* m_table = nullptr;
  QPushButton* m_load = nullptr;
  std::string m_chosen;
};

}  // namespace roviro
