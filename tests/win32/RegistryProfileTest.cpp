// The profile operations on the real registry (Wine's, in the tests' own
// prefix): the key path, the value kinds, and what a value written by hand
// in another kind reads as.
#include "platform/Profile.h"

#include "platform/WinTypes.h"

#include <gtest/gtest.h>

namespace {

const char kKey[] = "Quorl Test Savers";
const char kSectionPath[] = "Software\\Quorl Test Savers\\probe\\probe";

class RegistryProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quorl Test Savers");
        SetRegistryKey(kKey);
        SetProfileAppName("C:\\savers\\probe.scr");
    }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quorl Test Savers"); }

    DWORD TypeOf(const char* name) const {
        DWORD type = 0;
        ::RegGetValueA(HKEY_CURRENT_USER, kSectionPath, name, RRF_RT_ANY, &type, nullptr, nullptr);
        return type;
    }
    void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyA(HKEY_CURRENT_USER, kSectionPath, &key), ERROR_SUCCESS);
        ::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        ::RegCloseKey(key);
    }
};

}  // namespace

TEST_F(RegistryProfileTest, NumbersAndTextsRoundTripAsDwordAndStringValues) {
    EXPECT_EQ(GetProfileInt("probe", "Delay", 5), 5);
    EXPECT_EQ(GetProfileString("probe", "FontName", "Courier New"), "Courier New");
    for (int value : {0, 7, -1, 2147483647})
        ASSERT_TRUE(WriteProfileInt("probe", "Delay", value)) << value;
    ASSERT_TRUE(WriteProfileString("probe", "FontName", "Liberation Mono"));
    EXPECT_EQ(GetProfileInt("probe", "Delay", 5), 2147483647);
    EXPECT_EQ(GetProfileString("probe", "FontName", ""), "Liberation Mono");
    EXPECT_EQ(TypeOf("Delay"), DWORD(REG_DWORD));
    EXPECT_EQ(TypeOf("FontName"), DWORD(REG_SZ));
    EXPECT_EQ(ProfileFileName(), std::string("HKEY_CURRENT_USER\\") + kSectionPath);
}

TEST_F(RegistryProfileTest, ValuesOfTheWrongKindOrShapeGiveTheDefault) {
    const DWORD number = 3;
    const char unterminated[] = {'a', 'b'};
    const char qword[8] = {};
    SetRaw("TextAsNumber", REG_SZ, "12", 3);
    SetRaw("NumberAsText", REG_DWORD, &number, sizeof number);
    SetRaw("Short", REG_DWORD, &number, 2);
    SetRaw("Wide", REG_QWORD, qword, sizeof qword);
    SetRaw("Unterminated", REG_SZ, unterminated, sizeof unterminated);
    SetRaw("Long", REG_SZ, std::string(100000, 'x').c_str(), 100001);
    EXPECT_EQ(GetProfileInt("probe", "TextAsNumber", 9), 9);
    EXPECT_EQ(GetProfileString("probe", "NumberAsText", "d"), "d");
    EXPECT_EQ(GetProfileInt("probe", "Short", 9), 9);
    EXPECT_EQ(GetProfileInt("probe", "Wide", 9), 9);
    EXPECT_EQ(GetProfileString("probe", "Unterminated", "d"), "ab");
    EXPECT_EQ(GetProfileString("probe", "Long", "d"), std::string(100000, 'x'));
}
