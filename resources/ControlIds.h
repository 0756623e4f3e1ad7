// The ids of the program's dialog templates and their controls, named once:
// the templates, the dialog logic, the faces that need one and the tests take
// them from here, as a resource script and its code share one header.
#pragma once

namespace pv14::ids {

inline constexpr int kConditionDialog = 130;
inline constexpr int kProgressDialog = 131;

// Template 130.
inline constexpr int kCompanyLabel = 1000;
inline constexpr int kPeriodLabel = 1001;
inline constexpr int kCompanyColon = 1002;
inline constexpr int kPeriodColon = 1003;
inline constexpr int kCompanyText = 1004;
inline constexpr int kPeriodText = 1005;
inline constexpr int kCostLabel = 1006;
inline constexpr int kCostColon = 1007;
inline constexpr int kCostText = 1008;
inline constexpr int kIncomeKindGroup = 1009;
inline constexpr int kBusinessRadio = 1010;    // IncomeKind 1
inline constexpr int kRealEstateRadio = 1011;  // IncomeKind 3
inline constexpr int kOtherRadio = 1012;       // IncomeKind 2
inline constexpr int kExecuteButton = 1013;
inline constexpr int kCancelButton = 1014;
inline constexpr int kOutputGroup = 1015;
inline constexpr int kOutputPathEdit = 1016;
inline constexpr int kBrowseButton = 1017;

// Template 131: the main bar carries the run's share done, the activity bar
// only cycles.
inline constexpr int kMainBar = 1018;
inline constexpr int kActivityBar = 1019;

}  // namespace pv14::ids
