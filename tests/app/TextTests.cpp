#include <gtest/gtest.h>

#include "app/Text.h"

TEST(BoundedFormat, FitsUpToCapacityAndFailsInsteadOfCutting) {
    std::string out = "previous";
    std::string name(255, 'a'); // "C:\\" + 255 = 258 characters + terminator = 259
    EXPECT_TRUE(hnFormat(out, kPathCapacity, "C:\\%s", name.c_str()));
    EXPECT_EQ(258u, out.size());
    std::string longer(257, 'a'); // 260 characters need 261 with the terminator: too long
    EXPECT_TRUE(hnFormat(out, kPathCapacity, "C:%s", longer.substr(1).c_str()));
    EXPECT_EQ(258u, out.size());
    EXPECT_FALSE(hnFormat(out, kPathCapacity, "C:\\%s", longer.c_str()));
    EXPECT_EQ("", out);
    EXPECT_FALSE(hnFormat(out, 0, "%s", ""));
}

TEST(BoundedFormat, JoinPathAndUnboundedMessages) {
    std::string path;
    EXPECT_TRUE(hnJoinPath(path, "C:\\Program Files (x86)\\Orvanto", "_OrvantoInstallData"));
    EXPECT_EQ("C:\\Program Files (x86)\\Orvanto\\_OrvantoInstallData", path);
    EXPECT_FALSE(hnJoinPath(path, std::string(250, 'x'), "0123456789"));
    std::string message = hnFormatText("Error - Unable to download the component '%s'", std::string(5000, 'n').c_str());
    EXPECT_EQ(5000u + 43u, message.size());
    EXPECT_TRUE(hnEqualsNoCase("OrvantoVisionSoftware.EXE", "orvantovisionsoftware.exe"));
    EXPECT_FALSE(hnEqualsNoCase("a", "ab"));
}
