#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/objects/Exceptions.h"
#include "reports/RBExportLinks.h"

namespace {

class Filter : public TRBExportFilter {
 public:
  Filter(std::string d, std::string e) : d_(std::move(d)), e_(std::move(e)) {}
  std::string Description() const override { return d_; }
  std::string Extension() const override { return e_; }

 private:
  std::string d_, e_;
};

TEST(RBExportFilterLibrary, SaveDialogFilterText) {
  // The process's library has no filter: the page file only.
  EXPECT_EQ(RBExportLinks::ExportFilterLibrary().Count(), 0);
  EXPECT_EQ(RBExportLinks::ExportFilterLibrary().SaveDialogFilter(), "BandReport file (*.RBP)|*.RBP");
  TRBExportFilterLibrary l;
  l.Add(std::make_unique<Filter>("Text file", "TXT"));
  l.Add(std::make_unique<Filter>("Web page", "HTM"));
  EXPECT_EQ(l.SaveDialogFilter(), "BandReport file (*.RBP)|*.RBP|Text file (*.TXT)|*.TXT|Web page (*.HTM)|*.HTM");
}

TEST(RBLinks, PrefixesHandlersAndTheDesktop) {
  std::vector<std::pair<int, std::string>> seen;
  int one = 1, two = 2;
  auto record = [&](void* data, TRBPrinter* target, const std::string& rest) {
    EXPECT_EQ(target, nullptr);
    seen.emplace_back(*static_cast<int*>(data), rest);
  };
  const int before = RBExportLinks::LinkHandlerCount();
  RBExportLinks::RegisterLinkHandler("doc:", record, &one);
  RBExportLinks::RegisterLinkHandler("doc:x", record, &two);  // never reached: the first match ends the search
  RBExportLinks::RegisterLinkHandler("page:", record, &two);
  EXPECT_EQ(RBExportLinks::LinkHandlerCount(), before + 3);

  RBExportLinks::FollowLink(nullptr, "doc:xyz");
  RBExportLinks::FollowLink(nullptr, "int:page:7");
  RBExportLinks::FollowLink(nullptr, "INT:nobody");  // offered, not taken, not opened
  EXPECT_EQ(seen, (std::vector<std::pair<int, std::string>>{{1, "xyz"}, {2, "7"}}));
  // Prefixes of handlers are compared with their case.
  EXPECT_FALSE(RBExportLinks::OfferToLinkHandlers(nullptr, "DOC:xyz"));
  // "EXT:" and untaken texts go to the desktop, which is not built yet; handlers do not see them.
  EXPECT_THROW(RBExportLinks::FollowLink(nullptr, "Ext:doc:report.pdf"), ENonConstruit);
  EXPECT_THROW(RBExportLinks::FollowLink(nullptr, "report.pdf"), ENonConstruit);
  EXPECT_THROW(RBExportLinks::FollowLink(nullptr, ""), ENonConstruit);
  EXPECT_EQ(seen.size(), 2u);
}

}  // namespace
