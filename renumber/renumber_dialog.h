// CRenumberDlg, the Renumber dialog: the user chooses which selected leaders take part, the
// start number, the format and the ordering rule, and a live preview shows how many leaders get
// which range of labels. The caller fills Items and the stored choices, runs the dialog modally
// and reads the labels and choices back when Accepted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "parts_list/parts_list.h"
#include "renumber/renumber_labels.h"
#include "renumber/renumber_order.h"
#include "resources/resource_ids.h"

// Dialog template 103 and its controls. The radio buttons of each group in tab order.
constexpr int kRenumberDialog = IDD_RENUMBER;
constexpr int kRenumberObjectButtons[] = {IDC_RENUMBER_ALL, IDC_RENUMBER_NUMERIC, IDC_RENUMBER_SAME_FORMAT};
constexpr int kRenumberFormatButtons[] = {IDC_RENUMBER_ARABIC, IDC_RENUMBER_LETTERS, IDC_RENUMBER_ROMAN};
constexpr int kRenumberStartAt = IDC_RENUMBER_START_AT;
constexpr int kRenumberFixOrder = IDC_RENUMBER_FIX_ORDER;
constexpr int kRenumberReset = IDC_RENUMBER_RESET;
constexpr int kRenumberPreview = IDC_RENUMBER_PREVIEW;
// The controls after the template's own: the order (in the order of its codes), the tolerance
// of rows and columns, the old labels in the order they are numbered, and the report on the
// labels as they are.
// The clockwise button comes after the template's own controls, in a group of its own: the
// dialog keeps one of the five checked.
constexpr int kRenumberOrderButtons[] = {IDC_RENUMBER_ORDER_LABELS, IDC_RENUMBER_ORDER_ROWS, IDC_RENUMBER_ORDER_COLUMNS,
                                         IDC_RENUMBER_ORDER_SELECTION, IDC_RENUMBER_ORDER_CLOCKWISE};
constexpr int kRenumberExport = IDC_RENUMBER_EXPORT;
constexpr int kRenumberTolerance = IDC_RENUMBER_TOLERANCE;
constexpr int kRenumberReport = IDC_RENUMBER_REPORT;
constexpr int kRenumberSequence = IDC_RENUMBER_SEQUENCE;  // the old labels in the new order

class CRenumberDlg : public DialogModel {
 public:
  // Items holds `itemCount` empty records, to be filled before the dialog opens.
  CRenumberDlg(DialogRunner& runner, size_t itemCount);

  // The user's choices: set by the caller (Objects, FixOrder, ResetRunning) and read after OK.
  int32_t Objects = NumericLeaders;  // 0 to 2; -1 when no button is checked
  int32_t FixOrder = 1;              // used as a bool
  int32_t StartAt = 1;
  int32_t ResetRunning = 0;  // used as a bool
  int32_t Format = Arabic;
  int32_t Order = OrderByLabels;                      // the order of consecutive numbers
  std::string Tolerance = kDefaultRenumberTolerance;  // as typed; read back only when it is a number
  LabelStyle Style;                                   // set by the caller: how the new labels are dressed
  int32_t Step = 1;  // set by the caller: the distance of consecutive numbers with FixOrder
  // Set by the caller: controls whose option an administrator enforces, shown but disabled.
  std::vector<int> LockedControls;
  // Set by the caller: the parts list the report checks the callouts against (its numbers are
  // labels of PartsFormat), or the one line that says why it could not be read; neither without
  // a parts list.
  std::optional<PartsList> Parts;
  int32_t PartsFormat = Arabic;
  std::string PartsProblem;
  // Set by the caller: keeps the callout table that "E&xport..." makes (asks where, writes it,
  // tells a failure); the separator its fields take.
  std::function<void(const std::string& table)> ExportTable;
  char TableSeparator = ',';
  std::vector<RenumberItem> Items;
  // Reads the tips of the items' leaders, one per item; called once, when an order first needs them.
  std::function<void(std::vector<LeaderTip>*)> ReadTips;
  // The results of the last computation.
  int32_t FirstIndex = -1;
  int32_t LastIndex = -1;
  int32_t SmallestKey = 0;
  int32_t NextNumber = 0;
  int32_t Count = 0;
  bool Accepted = false;
  bool Ready = false;  // false while the controls are filled: no preview is computed then

  int TemplateId() const override { return kRenumberDialog; }
  // The preview shows the labels with their prefix and suffix, which may hold any character.
  DialogTexts Texts() const override { return DialogTexts::Utf8; }
  void OnInit(DialogControls& controls) override;
  void OnCommand(DialogControls& controls, int controlId, int notifyCode) override;

  // Reads the controls, computes the labels and shows the preview; nothing while not Ready.
  void UpdatePreview(DialogControls& controls);
  // The numbering itself under the current choices.
  void ComputeLabels();

 private:
  void ReadChoices(DialogControls& controls);
  void ReadOrderChoices(DialogControls& controls);
  const std::vector<LeaderTip>& Tips();
  const std::vector<uint32_t>& Ranks();
  void Confirm(DialogControls& controls);
  void Export();

  DialogRunner& runner_;
  RenumberOrder order_;  // the ordering's scratch space, reserved once
  double tolerance_ = 0.0;
  std::vector<LeaderTip> tips_;
  bool tipsRead_ = false;
  // The ranks of the last position order, and what they were computed for.
  std::vector<uint32_t> ranks_;
  int32_t rankedOrder_ = -1;
  double rankedTolerance_ = 0.0;
  // The report of the last format shown.
  std::string report_;
  int32_t reportFormat_ = NoLabel - 1;
  std::string partsReport_;  // the check against the parts list, made once
};
