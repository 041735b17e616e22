// Writing a tag file reports what the C library reports, a full disk
// included, so that a caller that must not go on with a cut copy can stop.

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "os/fault_injection.h"
#include "tagfile/tag_file.h"
#include "test_support.h"

namespace {

class TagFileWriteFault : public ::testing::Test {
protected:
  void SetUp() override {
    os::resetFaults();
    tags_.setValue("JVM_EXE", "bin/java");
    tags_.addValue("JVM_PROPERTIES", "java.vendor=A");
    tags_.addValue("JVM_PROPERTIES", "java.version=1.4");
    tags_.setValue("JVM_HOME", "/opt/jdk");
  }
  void TearDown() override { os::resetFaults(); }

  ScopedTempDir dir_;
  TagFile tags_;
};

TEST_F(TagFileWriteFault, AWholeWriteGivesZeroAndAFileThatReadsBack) {
  EXPECT_EQ(tags_.write(dir_.file("whole.jvm")), 0);
  TagFile read(dir_.file("whole.jvm"));
  EXPECT_EQ(read.value("JVM_PROPERTIES", 1), "java.version=1.4");
  EXPECT_EQ(read.value("JVM_HOME", 0), "/opt/jdk");
}

TEST_F(TagFileWriteFault, AFileThatCannotBeMadeGivesTheLibrarysError) {
  EXPECT_EQ(tags_.write(dir_.file("missing") + "/x.jvm"), ENOENT);
}

TEST_F(TagFileWriteFault, AFullDiskPartWayGivesItsErrorAndStopsWriting) {
  os::failNth(os::FaultPoint::kFileWrite, 2, ENOSPC);
  EXPECT_EQ(tags_.write(dir_.file("cut.jvm")), ENOSPC);
  EXPECT_EQ(os::faultCalls(os::FaultPoint::kFileWrite), 2u);  // nothing after the failure
  TagFile cut(dir_.file("cut.jvm"));
  EXPECT_EQ(cut.value("JVM_EXE", 0), "bin/java");
  EXPECT_EQ(cut.find("JVM_PROPERTIES"), nullptr);
  EXPECT_EQ(cut.find("JVM_HOME"), nullptr);
}

}  // namespace
