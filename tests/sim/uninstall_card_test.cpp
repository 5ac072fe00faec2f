// Uninstall next to the person's files: a storage card's root and the system's folders on
// a card are never emptied, however their paths are written, and the last message never
// asks the person to delete a folder that holds more than Zarvic.
#include "core/runtime.h"
#include "platform/sim/sim_api.h"
#include "settings_fixture.h"
#include "ui/uninstall.h"

using namespace zarvic_test;

namespace {

const std::u16string kDeleteFolder = u"Zarvic のフォルダを開きますのでフォルダごと\n削除してください";
const std::u16string kDeleteProgram = u"Zarvic のフォルダを開きますので\nZarvic.exe を削除してください";

bool EndsWith(const std::u16string& text, const std::u16string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class UninstallCardTest : public TrayUiTest {
protected:
    // Zarvic in folder with its own files and a file of the person's; installed there
    // when the record names it.
    void StartIn(const std::u16string& folder, const std::u16string& record) {
        device.PlaceFile(folder + u"\\ZarvicDat.bin", DataFileWithHotKey(u'C', true, true, false));
        device.PlaceFile(folder + u"\\Zarvic.htm", {'<'});
        device.PlaceFile(folder + u"\\Photo.jpg", {1});
        if (!record.empty()) device.InstallApplication(u"Telvory Zarvic", record);
        StartZarvic(folder + u"\\Zarvic.exe");
    }
    std::u16string Uninstall() {
        Command(IDM_UNINSTALL);
        const sim::MessageBoxRecord* box = device.OpenMessageBox();
        if (!box) return u"";
        std::u16string text = box->text;
        device.AnswerMessageBox(IDYES);
        return text;
    }
};

}  // namespace

TEST_F(UninstallCardTest, TheInstalledCopyNeverEmptiesACardsRootOrTheSystemsFoldersOnIt) {
    device.InsertStorageCard(u"\\Storage Card");
    for (const std::u16string record : {u"\\Storage Card", u"\\storage card\\", u"\\Storage Card\\Windows",
                                        u"\\Storage Card\\My Documents\\", u"\\Storage Card\\Temp\\..\\Temp"}) {
        std::u16string folder = record;
        while (EndsWith(folder, u"\\")) folder.pop_back();
        if (EndsWith(folder, u"\\..\\Temp")) folder = u"\\Storage Card\\Temp";
        StartIn(folder, record);
        EXPECT_TRUE(EndsWith(Uninstall(), u"タップしてください")) << sim::ToUtf8(record) << ": taken as installed";
        EXPECT_TRUE(device.Exists(folder + u"\\Photo.jpg")) << sim::ToUtf8(record);
        EXPECT_FALSE(device.Exists(folder + u"\\ZarvicDat.bin")) << sim::ToUtf8(record);
        EXPECT_FALSE(device.IsRunning(zarvic));
    }
    EXPECT_TRUE(device.Exists(u"\\Storage Card"));
    // A folder of Zarvic's own on the card is emptied as anywhere else.
    StartIn(u"\\Storage Card\\Program Files\\Zarvic", u"\\Storage Card\\Program Files\\Zarvic");
    Uninstall();
    EXPECT_FALSE(device.Exists(u"\\Storage Card\\Program Files\\Zarvic\\Photo.jpg"));
    // Written another way, the system's folders are still theirs.
    for (const char16_t* path : {u"\\Windows\\Desktop\\..", u"\\Program Files\\Zarvic\\..\\", u"\\WINDOWS\\.\\StartUp",
                                 u"\\Storage Card\\..\\Storage Card"})
        EXPECT_TRUE(IsProtectedFolder(path)) << sim::ToUtf8(path);
    EXPECT_FALSE(IsProtectedFolder(u"\\Storage Card\\Zarvic"));
}

TEST_F(UninstallCardTest, TheLooseCopyAsksToDeleteOnlyAFolderThatHoldsNothingButZarvic) {
    device.PlaceFile(u"\\Tools\\Zarvic\\ReadMe.txt", {'r'});
    device.PlaceFile(u"\\Tools\\Zarvic\\ZarvicDat.bin", DataFileWithHotKey(u'C', true, true, false));
    StartZarvic(u"\\Tools\\Zarvic\\Zarvic.exe");
    EXPECT_TRUE(EndsWith(Uninstall(), kDeleteFolder)) << "only Zarvic's own files";

    device.InsertStorageCard(u"\\Storage Card");
    for (const std::u16string folder : {u"\\Tools", u"\\Storage Card", u"\\Storage Card\\My Documents"}) {
        StartIn(folder, u"");
        EXPECT_TRUE(EndsWith(Uninstall(), kDeleteProgram)) << sim::ToUtf8(folder);
        EXPECT_TRUE(device.Exists(folder + u"\\Photo.jpg"));
    }
    device.PlaceDirectory(u"\\Tools\\Zarvic\\Empty");
    device.PlaceFile(u"\\Tools\\Zarvic\\ZarvicDat.bin", DataFileWithHotKey(u'C', true, true, false));
    StartZarvic(u"\\Tools\\Zarvic\\Zarvic.exe");
    EXPECT_TRUE(EndsWith(Uninstall(), kDeleteProgram)) << "a subfolder is not Zarvic's";
}
