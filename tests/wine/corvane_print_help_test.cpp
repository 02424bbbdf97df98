// Printing the window to the test printer (a PDF printer) and opening the help page through the
// shell, whose opener in the test prefix only records what it was asked to open.
#include <algorithm>
#include <optional>

#include "corvane_fixture.h"
#include "opened_log.h"
#include "platform/control_ids.h"

namespace corvane::wine {
namespace {

constexpr int kImpr = ID_IMPR;
constexpr int kAide = ID_AIDE;
constexpr DWORD kPrintTimeoutMs = 60000;

// A grey-level picture as pdftoppm writes it (binary PGM, one byte a pixel).
struct GreyPicture {
    int width = 0;
    int height = 0;
    std::string pixels;
    unsigned char at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

GreyPicture readPgm(const std::string& bytes) {
    GreyPicture picture;
    size_t pos = 0;
    auto token = [&] {
        while (pos < bytes.size() &&
               (isspace(static_cast<unsigned char>(bytes[pos])) || bytes[pos] == '#')) {
            if (bytes[pos] == '#') {
                while (pos < bytes.size() && bytes[pos] != '\n') ++pos;
            } else {
                ++pos;
            }
        }
        const size_t start = pos;
        while (pos < bytes.size() && !isspace(static_cast<unsigned char>(bytes[pos]))) ++pos;
        return bytes.substr(start, pos - start);
    };
    if (token() != "P5") throw DriverError("not a binary PGM picture");
    picture.width = std::stoi(token());
    picture.height = std::stoi(token());
    if (std::stoi(token()) != 255) throw DriverError("not an 8-bit PGM picture");
    picture.pixels = bytes.substr(pos + 1);
    if (picture.pixels.size() < static_cast<size_t>(picture.width) * picture.height)
        throw DriverError("PGM picture cut short");
    return picture;
}

class PrintTest : public CorvaneTest {
protected:
    void SetUp() override {
        CorvaneTest::SetUp();
        if (HasFatalFailure()) return;
        if (printedFilesDir().empty() || renderPdfCommand().empty())
            GTEST_SKIP() << "no test printer: run the suite through tests/wine/run.sh as root";
        before = listFiles(printedFilesDir());
    }

    // Files that appeared in the printer's folder, or were written again, since the test began.
    std::vector<FileEntry> printedFiles() {
        std::vector<FileEntry> fresh;
        for (const FileEntry& file : listFiles(printedFilesDir())) {
            const bool old = std::any_of(before.begin(), before.end(), [&](const FileEntry& b) {
                return b.name == file.name && b.lastWrite == file.lastWrite;
            });
            if (!old) fresh.push_back(file);
        }
        return fresh;
    }

    // The printer dialog, which belongs to the main window.
    Window waitPrinterDialog() {
        Window dialog;
        pollUntil([&] {
            for (const Window& w : topWindows(corvane->id(), "#32770"))
                if (w.owner() == main.handle()) dialog = w;
            return bool(dialog);
        });
        if (!dialog) throw DriverError("no printer dialog; windows:" + openWindows());
        return dialog;
    }

    // Waits for one whole PDF file; moves it to the screenshots' folder and returns its path.
    std::string waitPrintedPdf() {
        std::string path;
        std::string content;
        const bool done = pollUntil(
            [&] {
                for (const FileEntry& file : printedFiles()) {
                    path = printedFilesDir() + "\\" + file.name;
                    try {
                        content = readFile(path);
                    } catch (const DriverError&) {
                        continue;
                    }
                    if (content.rfind("%PDF-", 0) == 0 &&
                        content.find("%%EOF", content.size() > 64 ? content.size() - 64 : 0) !=
                            std::string::npos)
                        return true;
                }
                return false;
            },
            kPrintTimeoutMs);
        if (!done) throw DriverError("nothing printed in " + printedFilesDir() + " within 60 s");
        const std::string name = path.substr(path.rfind('\\') + 1);
        EXPECT_EQ(name.rfind("Corvane", 0), 0u)
            << "the job is not named after the program: " << name;
        const std::string kept = screenshotDir() + "\\print.pdf";
        copyFileTo(path, kept);
        // The user's folder gets back as it was.
        removeFile(path);
        return kept;
    }

    // The first page at 40 dpi: print.png to look at, and its grey levels to test.
    GreyPicture render(const std::string& pdf) {
        const std::string stem = screenshotDir() + "\\print";
        removeFile(stem + ".pgm");
        removeFile(stem + ".failed");
        Process renderer =
            Process::startCommandLine(renderPdfCommand() + " \"" + pdf + "\" \"" + stem + "\"");
        std::string failed;
        const bool done = pollUntil(
            [&] {
                if (fileExists(stem + ".failed")) failed = readFile(stem + ".failed");
                return fileExists(stem + ".pgm") || !failed.empty();
            },
            kPrintTimeoutMs);
        if (!failed.empty()) throw DriverError("the PDF could not be rendered: " + failed);
        if (!done) throw DriverError("the PDF was not rendered within 60 s");
        return readPgm(readFile(stem + ".pgm"));
    }

    std::vector<FileEntry> before;
};

TEST_F(PrintTest, CtrlPAndOkPrintAPictureOfTheWindow) {
    launch();
    bringToFront(main);
    pressKeys({VK_CONTROL, 'P'});
    const Window dialog = waitPrinterDialog();
    shot("printer-dialog", dialog);
    pressButton(dialog, IDOK);
    const GreyPicture page = render(waitPrintedPdf());
    EXPECT_TRUE(messageBoxes(corvane->id()).empty()) << "printing reported a problem";

    // Where the page is not white, there is the window, at its size on the screen.
    int left = page.width, top = page.height, right = -1, bottom = -1;
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            if (page.at(x, y) >= 240) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    ASSERT_GE(right, 0) << "the page is blank";
    const RECT client = main.clientRect();
    const double scale = 40.0 / displayDpi();
    EXPECT_NEAR(right - left + 1, client.right * scale, 3.0);
    EXPECT_NEAR(bottom - top + 1, client.bottom * scale, 3.0);
    EXPECT_LT(left, page.width / 3) << "the picture is not in the page's top left corner";
    EXPECT_LT(top, page.height / 3);

    // A light window with darker writing on it, not a black or an empty picture. At 40 dpi the
    // writing comes out grey: darker than 160 where the window is about 240.
    constexpr unsigned char kWriting = 160;
    long sum = 0;
    int dark = 0;
    const int area = (right - left + 1) * (bottom - top + 1);
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            sum += page.at(x, y);
            if (page.at(x, y) < kWriting) ++dark;
        }
    }
    EXPECT_GT(sum / area, 150) << "the picture is too dark to be the window";
    EXPECT_GT(dark, area / 40) << "hardly any writing in the picture";
    EXPECT_LT(dark, area / 2);
    // The labels' rows: the writing runs over most of the picture's height.
    int rowsWithWriting = 0;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (page.at(x, y) < kWriting) {
                ++rowsWithWriting;
                break;
            }
        }
    }
    EXPECT_GT(rowsWithWriting, (bottom - top + 1) / 3);

    // The program goes on.
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
}

TEST_F(PrintTest, CancelInThePrinterDialogPrintsNothing) {
    launch();
    main.postCommand(kImpr);
    const Window dialog = waitPrinterDialog();
    pressButton(dialog, IDCANCEL);
    ASSERT_TRUE(pollUntil([&] { return !dialog.exists(); })) << "the dialog stays";
    Sleep(5000);
    EXPECT_TRUE(printedFiles().empty()) << "a file was printed: " << printedFiles().front().name;
    EXPECT_TRUE(messageBoxes(corvane->id()).empty()) << "cancelling showed a message";
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
}

class HelpTest : public CorvaneTest {
protected:
    // The program and its help page in `where`, and the opener's record there too.
    void install(const std::string& where, bool withHelpPage = true) {
        folder = where;
        deleteTree(folder);
        makeDirectories(folder);
        copyFileTo(corvaneExe(), folder + "\\Corvane.exe");
        const std::string exe = corvaneExe();
        if (withHelpPage)
            copyFileTo(exe.substr(0, exe.rfind('\\')) + "\\aide.html", folder + "\\aide.html");
        opened.emplace(folder + "\\opened.txt");
    }

    std::optional<OpenedLog> opened;
};

TEST_F(HelpTest, F1OpensTheHelpPageBesideTheProgram) {
    install(folder);
    launch();
    bringToFront(main);
    pressKeys({VK_F1});
    EXPECT_EQ(opened->waitOpenings(1), std::vector<std::string>{folder + "\\aide.html"});
    EXPECT_TRUE(messageBoxes(corvane->id()).empty());
    EXPECT_TRUE(corvane->running());
}

// Wine cannot name files with accents where the machine has no UTF-8 locale of that language:
// the folder has only blanks and characters that a command line would take for its own.
TEST_F(HelpTest, MenuItemOpensTheHelpPageFromAFolderWithBlanksAndAmpersand) {
    install("C:\\corvane-tests\\Mes outils & co (x86)\\Corvane");
    launch();
    main.postCommand(kAide);
    EXPECT_EQ(opened->waitOpenings(1), std::vector<std::string>{folder + "\\aide.html"});
    EXPECT_TRUE(messageBoxes(corvane->id()).empty());
    EXPECT_TRUE(corvane->running());
}

TEST_F(HelpTest, MissingHelpPageIsSaidAndTheProgramGoesOn) {
    install(folder, false);
    launch();
    main.postCommand(kAide);
    const MessageBoxInfo box = waitMessageBox(corvane->id());
    EXPECT_EQ(box.title, "Problème Start");
    EXPECT_EQ(box.text, "Erreur : 53\r\nFichier introuvable\r\nLa page d'aide n'est pas là : " +
                            folder + "\\aide.html");
    EXPECT_EQ(box.owner, main.handle());
    pressButton(box.window, IDOK);
    ASSERT_TRUE(pollUntil([&] { return !box.window.exists(); }));
    EXPECT_TRUE(opened->openings().empty());
    setSwapSize(70 * kMiB);
    tickUntilSwapReads("SWAP: 70 Mo  Mini: 50 Mo  Maxi: 70 Mo  Moy: 60 Mo");
}

}  // namespace
}  // namespace corvane::wine
