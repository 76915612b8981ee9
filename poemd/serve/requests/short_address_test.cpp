#include "poemd/serve/requests/short_address.h"

#include <gtest/gtest.h>

#include "poemd/http/form_body.h"

namespace miravel::poemd {
namespace {

BrowserForm Form(std::string xing, std::string gender, std::string num, std::string limit,
                 std::string book, std::string theme = "", std::string occasion = "auto") {
  return {std::move(xing), std::move(gender), std::move(num),     std::move(limit),
          std::move(book), std::move(theme),  std::move(occasion)};
}

TEST(ShortAddressTest, EveryFormGoesThereAndBack) {
  const std::vector<BrowserForm> forms = {
      Form("春风花月", "5", "cangtou", "100", "both"),
      Form("春江", "7", "cangwei", "200", "pingshui"),
      Form("明月", "5", "cangzhong", "100", "xinyun", "思乡"),
      Form("一二三四五六", "7", "dizeng", "200", "both"),
      Form("山", "5", "dijian", "100", "pingshui"),
      Form("李娜", "5", "cangtou", "100", "both", "", "birthday"),
      Form("春江", "7", "cangwei", "200", "pingshui", "思乡", "remembrance"),
      Form("明月", "5", "cangzhong", "100", "xinyun", "", "none"),
  };
  for (const BrowserForm& form : forms) {
    for (const uint64_t seed : {uint64_t{0}, uint64_t{35}, uint64_t{4294967295u}, UINT64_MAX}) {
      const std::string path = ShortPoemPath(form, seed);
      const auto address = ReadShortAddress(EncodeIri(path));
      ASSERT_TRUE(address) << path;
      EXPECT_EQ(address->kind, AddressKind::kPage);
      const BrowserRequest request = ParseBrowserQuery(address->query, RhymeBook::kBoth);
      ASSERT_TRUE(request.order.ok()) << path;
      const BrowserForm back = request.form;
      EXPECT_EQ(back.xing, form.xing) << path;
      EXPECT_EQ(back.gender, form.gender) << path;
      EXPECT_EQ(back.num, form.num) << path;
      EXPECT_EQ(back.limit, form.limit) << path;
      EXPECT_EQ(back.book, form.book) << path;
      EXPECT_EQ(back.theme, form.theme) << path;
      EXPECT_EQ(back.occasion, form.occasion) << path;
      EXPECT_EQ(request.seed, seed) << path;
    }
  }
}

TEST(ShortAddressTest, ReadsAsPeopleWouldWriteIt) {
  EXPECT_EQ(ShortPoemPath(Form("春风花月", "5", "cangtou", "100", "both"), 36 * 36 * 36 - 1),
            "/春风花月/五言藏头/zzz");
  EXPECT_EQ(ShortPoemPath(Form("春江", "7", "cangwei", "200", "pingshui", "思乡 home"), 10),
            "/春江/七言藏尾首句入韵平水韵/思乡/a");
  // An occasion asked for, not found, is said.
  EXPECT_EQ(ShortPoemPath(Form("李娜", "5", "cangtou", "100", "both", "", "birthday"), 10),
            "/李娜/五言藏头祝寿/a");
  EXPECT_EQ(ShortPoemPath(Form("李娜", "5", "cangtou", "100", "xinyun", "", "none"), 10),
            "/李娜/五言藏头新韵无场合/a");
  // Chinese as it stands reads; what a URI may not hold is escaped.
  EXPECT_EQ(EncodeIri("/春/a b?x=<\"1\">"), "/%E6%98%A5/a%20b?x=%3C%221%22%3E");
}

TEST(ShortAddressTest, PicturesAreTheSameAddressWithTheirKind) {
  const std::string path = EncodeIri(ShortPoemPath(Form("春风", "5", "cangtou", "100", "both"), 7));
  EXPECT_EQ(ReadShortAddress(path + ".png")->kind, AddressKind::kPng);
  EXPECT_EQ(ReadShortAddress(path + ".svg")->kind, AddressKind::kSvg);
  EXPECT_EQ(ReadShortAddress(path + ".png")->query, ReadShortAddress(path)->query);
  EXPECT_FALSE(ReadShortAddress(path + ".gif"));
}

TEST(ShortAddressTest, ThePathAndItsQueryMakeOneRequest) {
  const std::string path =
      EncodeIri(ShortPoemPath(Form("春风", "7", "cangwei", "200", "both"), 36));
  const ShortAddress address = *ReadPoemPage(path);
  const BrowserRequest plain = RequestAt(address, "", RhymeBook::kPingshui);
  EXPECT_EQ(plain.seed, 36u);
  EXPECT_TRUE(plain.SeededOnly());
  const BrowserRequest asked =
      RequestAt(address, "lines=1.m2&swap=1&script=traditional&page=2", RhymeBook::kPingshui);
  ASSERT_TRUE(asked.order.ok());
  EXPECT_EQ(asked.order->length, 7);
  EXPECT_EQ(asked.form.book, "both");  // the address's own, not the service's
  ASSERT_EQ(asked.lines.size(), 2u);
  EXPECT_EQ(asked.lines[1]->line, 2u);
  EXPECT_TRUE(asked.lines[1]->made);
  EXPECT_EQ(asked.swap, 1u);
  EXPECT_EQ(asked.script, Script::kTraditional);
  EXPECT_EQ(asked.page, 1u);
  // What the address says is not changed by its query.
  EXPECT_EQ(RequestAt(address, "seed=5&xing=x", RhymeBook::kBoth).seed, 36u);
  EXPECT_FALSE(ReadPoemPicture(path));
  EXPECT_FALSE(ReadPoemPage(path + ".svg"));
  EXPECT_EQ(ReadPoemPicture(path + ".svg")->kind, AddressKind::kSvg);
}

TEST(ShortAddressTest, OtherPathsAreNotPoems) {
  for (const std::string path :
       {"/", "/poem", "/healthz", "/favicon.ico", "/qm/cts.php", "/春风", "/春风/五言藏头",
        "/春风/五言藏头/k3/x", "/春风/五言/k3", "/春风/九言藏头/k3", "/春风/五言藏头首句/k3",
        "/春风/五言藏头/K3", "/春风/五言藏头/zzzzzzzzzzzzzz", "/春风/五言藏头/3w5e11264sgsg",
        "/abc/五言藏头/k3", "/春风/五言藏头/theme/k3", "/%zz/五言藏头/k3", "//五言藏头/k3"}) {
    EXPECT_FALSE(ReadShortAddress(EncodeIri(path))) << path;
  }
  // The largest seed there is still reads.
  EXPECT_TRUE(ReadShortAddress(EncodeIri("/春风/五言藏头/3w5e11264sgsf")));
}

}  // namespace
}  // namespace miravel::poemd
