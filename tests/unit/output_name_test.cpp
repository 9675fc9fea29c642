#include "patcher/image_patcher.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

struct NameCase {
    const char* input;
    const char* output;
};

class OutputName : public ::testing::TestWithParam<NameCase> {};

// The output keeps only the base name, with ".NEW" before its last extension.
TEST_P(OutputName, PutsNewBeforeTheLastExtensionOfTheBaseName)
{
    const auto name = make_output_name(GetParam().input);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name.get(), GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, OutputName,
    ::testing::Values(
        NameCase{"prog.dsk", "prog.NEW.dsk"}, NameCase{"images/prog.dsk", "prog.NEW.dsk"},
        NameCase{"a\\b/c.dsk", "c.NEW.dsk"}, NameCase{"a/b\\c.dsk", "c.NEW.dsk"},
        NameCase{"C:\\images\\prog.dsk", "prog.NEW.dsk"}, NameCase{"C:prog.dsk", "C:prog.NEW.dsk"},
        NameCase{"disk.a.dsk", "disk.a.NEW.dsk"}, NameCase{"old.dir/disk", "disk.NEW"},
        NameCase{".dsk", ".NEW.dsk"}, NameCase{"disk.", "disk.NEW."}, NameCase{"dir/", ".NEW"},
        NameCase{"", ".NEW"}, NameCase{"/abs/x.y.z", "x.y.NEW.z"}));

} // namespace
