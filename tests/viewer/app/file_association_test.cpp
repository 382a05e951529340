// The bundle association: registry entries and freedesktop files, an
// association of another program left alone, the program's own entries
// rewritten at every start.
#include "viewer/app/file_association.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace repscope::app {
namespace {

using vestra::registry::Hive;
using vestra::test::TempDir;

class Association : public ::testing::Test {
 protected:
  std::string hkcr(const std::string& key) {
    std::string v;
    registry_.get_string(Hive::ClassesRoot, key, "", v);
    return v;
  }

  TempDir dir_;
  vestra::registry::Registry registry_{vestra::registry::Locations::single(dir_.file("reg"))};
  DesktopDirs dirs_{QString::fromStdString(dir_.file("share")),
                    QString::fromStdString(dir_.file("config"))};
};

TEST_F(Association, FirstStartClaimsTheTypeLaterStartsFollowTheProgram) {
  AssociationResult r = register_bundle_association(registry_, "/opt/a/repscope", dirs_);
  EXPECT_TRUE(r.mime_package_written);
  EXPECT_TRUE(r.default_set);
  EXPECT_EQ(hkcr(".kvr"), "VESTRA-Nu.Report.Viewer");
  EXPECT_EQ(hkcr("VESTRA-Nu.Report.Viewer\\DefaultIcon"), "/opt/a/repscope,0");
  EXPECT_EQ(hkcr("VESTRA-Nu.Report.Viewer\\shell\\open\\command"), "/opt/a/repscope \"%1\"");
  const std::string mime = TempDir::read(dir_.file("share/mime/packages/vestra-report.xml"));
  EXPECT_NE(mime.find("<glob pattern=\"*.kvr\"/>"), std::string::npos);
  EXPECT_NE(mime.find("application/x-vestra-report"), std::string::npos);
  EXPECT_NE(TempDir::read(dir_.file("share/applications/vestra-repscope.desktop"))
                .find("Exec=\"/opt/a/repscope\" %f"),
            std::string::npos);
  EXPECT_EQ(TempDir::read(dir_.file("config/mimeapps.list")),
            "[Default Applications]\napplication/x-vestra-report=vestra-repscope.desktop;\n");

  r = register_bundle_association(registry_, "/opt/b/repscope", dirs_);
  EXPECT_FALSE(r.mime_package_written) << "an unchanged type is not written again";
  EXPECT_FALSE(r.default_set);
  EXPECT_EQ(hkcr("VESTRA-Nu.Report.Viewer\\shell\\open\\command"), "/opt/b/repscope \"%1\"");
  EXPECT_NE(TempDir::read(dir_.file("share/applications/vestra-repscope.desktop"))
                .find("Exec=\"/opt/b/repscope\" %f"),
            std::string::npos);
}

TEST_F(Association, AnotherProgramsAssociationStays) {
  ASSERT_TRUE(registry_.set_string(Hive::ClassesRoot, ".kvr", "", "Other.Viewer").ok());
  dir_.write("config/mimeapps.list",
             "[Added Associations]\ntext/plain=edit.desktop;\n\n[Default Applications]\n"
             "application/x-vestra-report=other.desktop;\n");
  const AssociationResult r = register_bundle_association(registry_, "/opt/a/repscope", dirs_);
  EXPECT_FALSE(r.default_set);
  EXPECT_EQ(hkcr(".kvr"), "Other.Viewer");
  EXPECT_EQ(hkcr("VESTRA-Nu.Report.Viewer\\DefaultIcon"), "/opt/a/repscope,0");
  EXPECT_EQ(TempDir::read(dir_.file("config/mimeapps.list")),
            "[Added Associations]\ntext/plain=edit.desktop;\n\n[Default Applications]\n"
            "application/x-vestra-report=other.desktop;\n");

  dir_.write("config/mimeapps.list", "[Default Applications]\ntext/html=web.desktop;\n");
  register_bundle_association(registry_, "/opt/a/repscope", dirs_);
  EXPECT_EQ(TempDir::read(dir_.file("config/mimeapps.list")),
            "[Default Applications]\napplication/x-vestra-report=vestra-repscope.desktop;\n"
            "text/html=web.desktop;\n");
}

}  // namespace
}  // namespace repscope::app
