// The language the program takes from the user's locale.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "dialog/user_language.h"
#include "res/resource_catalog.h"

namespace {

// Sets the three locale variables for one test and restores them afterwards.
class LocaleVariables : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            saved_.push_back(value != nullptr ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    void TearDown() override {
        for (size_t i = 0; i < std::size(kNames); ++i) {
            Set(kNames[i], saved_[i] ? saved_[i]->c_str() : nullptr);
        }
    }
    static void Set(const char* name, const char* value) {
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    void SetLocale(const char* all, const char* messages, const char* lang) {
        Set("LC_ALL", all);
        Set("LC_MESSAGES", messages);
        Set("LANG", lang);
    }

private:
    static constexpr const char* kNames[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::vector<std::optional<std::string>> saved_;
};

TEST_F(LocaleVariables, TheFirstNonEmptyOfLcAllLcMessagesAndLangDecides) {
    SetLocale(nullptr, nullptr, "ja_JP.UTF-8");
    EXPECT_EQ(UserLanguageFromLocale(), kLanguageJapanese);
    SetLocale("", "en_GB.UTF-8", "ja_JP.UTF-8");  // an empty LC_ALL does not count
    EXPECT_EQ(UserLanguageFromLocale(), kLanguageEnglish);
    SetLocale("ja_JP.eucJP", "C", "en_US.UTF-8");
    EXPECT_EQ(UserLanguageFromLocale(), kLanguageJapanese);
    SetLocale(nullptr, "ja", nullptr);
    EXPECT_EQ(UserLanguageFromLocale(), kLanguageJapanese);
    SetLocale(nullptr, nullptr, nullptr);
    EXPECT_EQ(UserLanguageFromLocale(), kLanguageEnglish);
    SetLocale(nullptr, nullptr, "de_DE.UTF-8");
    EXPECT_EQ(UserLanguageFromLocale(), kLanguageEnglish);
}

}  // namespace
