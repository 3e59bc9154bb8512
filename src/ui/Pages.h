#pragma once

namespace stolvar {

// Tab pages of 高级选择夹1, in their order.
enum TabPage { kInfoPage = 0, kTable1Page = 1, kTable2Page = 2, kDataPage = 3, kCurvePage = 4, kWorklistPage = 5,
               kStrengthPage = 6 };

} // namespace stolvar
