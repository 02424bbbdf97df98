// The About window as the user sees it, at exit and from the menu: its texts, the turning
// copyright line, the animated picture, and the keys and button that close it.
#include <algorithm>
#include <map>

#include "corvane_fixture.h"
#include "opened_log.h"
#include "platform/control_ids.h"

namespace corvane::wine {
namespace {

constexpr int kPropos = ID_PROPOS;

enum AboutId : int {
    kAboutPicture = IDC_APROPOS_PICTURE1,
    kAboutTitle = IDC_APROPOS_LABEL1,      // Label1
    kAboutCopyright = IDC_APROPOS_LABEL2,  // Label2
    kAboutWeb = IDC_APROPOS_LABEL3,        // Label3
    kAboutMail = IDC_APROPOS_LABEL4,       // Label4
    kAboutVersion = IDC_APROPOS_LABEL5,    // Label5
    kAboutFileDate = IDC_APROPOS_LABEL6,   // Label6
};

SYSTEMTIME localTime(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    return t;
}

size_t characters(const std::string& utf8) {
    return fromUtf8(utf8).size();
}

class AboutTest : public CorvaneTest {
protected:
    void stampProgram(const SYSTEMTIME& local) {
        setLastWriteTime(folder + "\\Corvane.exe", local);
    }

    Window showFromMenu() {
        main.postCommand(kPropos);
        return waitWindow(corvane->id(), kAboutClass);
    }

    void waitClosed(const Window& about) {
        ASSERT_TRUE(pollUntil([&] { return !about.exists(); }))
            << "the About window is still open; windows:" << openWindows();
    }

    void expectTexts(const Window& about, const std::string& fileDate) {
        EXPECT_EQ(about.text(), "Corvane");
        EXPECT_EQ(about.controlText(kAboutTitle), " Corvane");
        EXPECT_EQ(about.controlText(kAboutVersion), "Version 1.0.0");
        EXPECT_EQ(about.controlText(kAboutFileDate), fileDate);
        EXPECT_EQ(about.controlText(kAboutWeb).rfind("http://", 0), 0u)
            << about.controlText(kAboutWeb);
        EXPECT_NE(about.controlText(kAboutMail).find('@'), std::string::npos)
            << about.controlText(kAboutMail);
        EXPECT_EQ(about.owner(), nullptr);
    }
};

TEST_F(AboutTest, AtEscapeItShowsItsTextsAndEscapeClosesItAndTheProgram) {
    stampProgram(localTime(2021, 8, 3, 14, 5, 9));
    launch();
    main.postChar(27);
    const Window about = waitWindow(corvane->id(), kAboutClass);
    expectTexts(about, "3 Août 2021 14:05:09");
    shot("about-window", about);
    bringToFront(about);
    pressKeys({VK_ESCAPE});
    expectEndsWithoutAbout("Escape in the About window", about);
}

TEST_F(AboutTest, FromTheMenuItIsModalAndTheProgramGoesOnOnceItIsClosed) {
    stampProgram(localTime(2005, 9, 17, 0, 1, 33));
    launch();
    const Window about = showFromMenu();
    expectTexts(about, "17 Septembre 2005 00:01:33");
    EXPECT_FALSE(IsWindowEnabled(main.handle())) << "the main window takes input under it";
    bringToFront(about);
    pressKeys({VK_ESCAPE});
    waitClosed(about);

    EXPECT_TRUE(corvane->running());
    EXPECT_TRUE(pollUntil([&] { return IsWindowEnabled(main.handle()) != FALSE; }));
    bool saved = true;
    readString(HKEY_CURRENT_USER, kSettingsSectionKey, "NB", &saved);
    EXPECT_FALSE(saved) << "closing the About window saved the statistics as an exit does";
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");

    // Again, closed with its button this time; the way out still shows it, and saves both
    // samples.
    const Window again = showFromMenu();
    pressButton(again, kAboutOk);
    waitClosed(again);
    main.postChar(27);
    pressButton(waitWindow(corvane->id(), kAboutClass), kAboutOk);
    ASSERT_TRUE(corvane->waitExit()) << "Escape did not end it; windows:" << openWindows();
    EXPECT_EQ(readString(HKEY_CURRENT_USER, kSettingsSectionKey, "NB"), "2");
}

TEST_F(AboutTest, FileTimeAtMidnightIsWrittenInFull) {
    stampProgram(localTime(2024, 2, 29, 0, 0, 0));
    launch();
    const Window about = showFromMenu();
    EXPECT_EQ(about.controlText(kAboutFileDate), "29 Février 2024 00:00:00");
}

TEST_F(AboutTest, FileTimeOnNewYearsEve) {
    stampProgram(localTime(1999, 12, 31, 23, 59, 59));
    launch();
    const Window about = showFromMenu();
    EXPECT_EQ(about.controlText(kAboutFileDate), "31 Décembre 1999 23:59:59");
}

// A French user's clock (the Wine layer's script gives the suite and Corvane the time zone of
// Paris): the file's time is shown as it was then, summer time or not, whatever the season now.
TEST_F(AboutTest, FileTimeIsTheLocalTimeOfItsOwnSeason) {
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);
    if (zone.Bias != -60 || zone.DaylightBias != -60)
        GTEST_SKIP() << "needs the time zone of Paris (TZ=Europe/Paris)";
    launch();
    setLastWriteTimeUtc(folder + "\\Corvane.exe", localTime(2021, 7, 15, 12, 5, 9));
    Window about = showFromMenu();
    EXPECT_EQ(about.controlText(kAboutFileDate), "15 Juillet 2021 14:05:09") << "summer time";
    pressButton(about, kAboutOk);
    waitClosed(about);

    setLastWriteTimeUtc(folder + "\\Corvane.exe", localTime(2021, 1, 15, 12, 5, 9));
    about = showFromMenu();
    EXPECT_EQ(about.controlText(kAboutFileDate), "15 Janvier 2021 13:05:09") << "winter time";
}

TEST_F(AboutTest, LinksOpenTheWebPageAndAMailToTheMaker) {
    OpenedLog opened(folder + "\\opened.txt");
    launch();
    const Window about = showFromMenu();
    const std::string web = about.controlText(kAboutWeb);
    const std::string mail = about.controlText(kAboutMail);
    clickCentre(about.control(kAboutWeb));
    EXPECT_EQ(opened.waitOpenings(1), std::vector<std::string>{web});
    clickCentre(about.control(kAboutMail));
    EXPECT_EQ(opened.waitOpenings(2),
              (std::vector<std::string>{web, "mailto:" + mail + "?subject=Corvane"}));
    EXPECT_TRUE(messageBoxes(corvane->id()).empty());
    // Still open: a link does not close the window.
    EXPECT_TRUE(about.exists() && about.visible());
}

TEST_F(AboutTest, CopyrightLineTurnsOneCharacterToTheLeftAtATime) {
    launch();
    const Window about = showFromMenu();
    const std::string holder = "Copyright ©2026 - Corvane";
    std::string before = about.controlText(kAboutCopyright);
    for (int change = 0; change < 5; ++change) {
        SCOPED_TRACE("change " + std::to_string(change) + " from \"" + before + "\"");
        std::string after;
        ASSERT_TRUE(
            pollUntil([&] { return (after = about.controlText(kAboutCopyright)) != before; }, 3000))
            << "the copyright line stands still";
        const std::string twice = after + after;
        EXPECT_NE(twice.find(holder), std::string::npos) << "\"" << after << "\"";
        if (change > 0) {
            // The same characters, turned: the new line is found in the old one twice over,
            // from the character that went round to the end.
            ASSERT_EQ(after.size(), before.size());
            const size_t turned = (before + before).find(after);
            ASSERT_NE(turned, std::string::npos) << "\"" << after << "\" is not a turn of it";
            const size_t step = characters(before.substr(0, turned));
            EXPECT_GE(step, 1u);
            EXPECT_LE(step, 3u) << "turned by " << step << " characters between two reads";
        }
        before = after;
    }
}

TEST_F(AboutTest, PictureCyclesThroughFourImages) {
    launch();
    const Window about = showFromMenu();
    const RECT area = about.control(kAboutPicture).rect();
    // Each image stays 120 ms: one seen in two captures in a row is a whole image, not one
    // caught while it was being drawn.
    std::vector<std::vector<uint8_t>> shown;
    std::vector<uint8_t> last;
    int seen = 0;
    const ULONGLONG end = GetTickCount64() + 2500;
    while (GetTickCount64() < end) {
        std::vector<uint8_t> now = screenPixels(area);
        seen = now == last ? seen + 1 : 1;
        if (seen == 2 && (shown.empty() || shown.back() != now)) shown.push_back(now);
        last = std::move(now);
        Sleep(15);
    }
    std::map<std::vector<uint8_t>, int> distinct;
    for (const auto& image : shown) ++distinct[image];
    // A capture taken while the window was slow to draw can still come out twice the same;
    // such a picture turns up once, the animation's own images many times.
    std::erase_if(shown, [&](const auto& image) { return distinct[image] < 2; });
    std::erase_if(distinct, [](const auto& entry) { return entry.second < 2; });
    ASSERT_EQ(distinct.size(), 4u) << shown.size() << " images in turn";
    // Always in the same order: each image is followed by one and the same image, unless a
    // slow capture missed one; four steps lead back to the first.
    std::map<std::vector<uint8_t>, std::map<std::vector<uint8_t>, int>> followers;
    for (size_t i = 0; i + 1 < shown.size(); ++i) ++followers[shown[i]][shown[i + 1]];
    auto next = [&](const std::vector<uint8_t>& image) {
        const auto& counts = followers[image];
        auto most =
            std::max_element(counts.begin(), counts.end(),
                             [](const auto& a, const auto& b) { return a.second < b.second; });
        return most == counts.end() ? std::vector<uint8_t>{} : most->first;
    };
    std::vector<uint8_t> turned = shown.front();
    for (int step = 1; step <= 4; ++step) {
        turned = next(turned);
        if (step < 4) {
            EXPECT_NE(turned, shown.front()) << "back to the first after " << step;
        }
    }
    EXPECT_EQ(turned, shown.front()) << "four steps do not lead back to the first image";
    for (const auto& [image, count] : distinct) {
        bool drawn = false;
        for (size_t i = 4; i < image.size(); i += 4)
            if (std::equal(image.begin() + i, image.begin() + i + 3, image.begin()) == false)
                drawn = true;
        EXPECT_TRUE(drawn) << "one of the images is a plain area";
    }
}

}  // namespace
}  // namespace corvane::wine
