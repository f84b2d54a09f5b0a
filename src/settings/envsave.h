#pragma once

// Saving the environment values as the settings screen shows them. Start-up uses it on a
// first run, without showing the screen, to store the screen's defaults.

#include <QString>
#include <QStringList>

namespace pikotel {

class AppContext;
class RegHandle;

// What the settings screen's controls hold; index 0 of an option pair is the first choice.
struct EnvFormValues {
    bool dicOnHdd = true;        // optDic(0)
    QString cdDriveRoot;         // drvCdrom
    QString xchdbAdd;            // TxtXchdbAdd
    QString outFile;             // txtOutFile
    QString hideExe;             // the text of CmbHideExe (empty when nothing is selected)
    int selViewer = 0;           // SelViewer
    QString spreadsheetPath;     // found when the screen loaded
    QString wordProcessorPath;   // found when the screen loaded
    bool defaultTelUse = false;  // optDTelUse(0)
    QString defaultTel;          // txtDefaultTel
    bool beforeExecFirst = true; // optBeforeExec(0)
    bool seimeiFirst = true;     // optSeiMei(0)
    bool animeFirst = true;      // optAni(0)
    bool outFormFirst = true;    // optOutForm(0)
    bool telHifonFirst = true;   // optTelHifon(0)
    bool zipHifonFirst = true;   // optZipHifon(0)
    bool zipMarkFirst = true;    // optZipMark(0)
    int startUpForm = 0;         // list index of cmbStartUpForm
};

// The viewer names the screen offers: "NotePad", then the spreadsheet's and the word
// processor's when the desktop has them.
QStringList offeredViewers(QString* spreadsheetPath, QString* wordProcessorPath);

// The values the settings screen shows when it loads, from the in-memory settings.
EnvFormValues envFormValuesFromMemory(AppContext& ctx);

// The control a refused input sends the user to.
enum class EnvField { None, DicDrive, CdDrive, XchdbAdd, OutFileButton, DefaultTel };

// Checks the screen's values in order; the first that fails shows its message and gives 1
// (focus, when given, names the control to go to); 0 when all pass. startUpScreen: the
// screen of start-up ("初期メイン"), which does not ask for a CD-ROM drive.
int EnvInputChk(AppContext& ctx, const EnvFormValues& values, bool startUpScreen,
                EnvField* focus = nullptr);

// The settings as the screen saves them, once its input was checked: closes the dictionary,
// writes every value, re-opens the dictionaries without messages and hands the export
// options to the result list controller. True when the dictionary drive changed between
// hard disk and CD-ROM since the screen opened (openedWithCd), so the program must restart.
bool SaveEnvironment(AppContext& ctx, const EnvFormValues& values, const QString& caller,
                     bool openedWithCd);

// Creates (or opens) the per-user version key; nonzero on failure.
int PikoTelRegcreate(AppContext& ctx, RegHandle& handle);
// Writes every value through the open handle and updates the in-memory values; 1 when
// writing CDDRIVE failed, else 0. caller is the screen's Pcall_Type.
int PikoTelRegSet(AppContext& ctx, RegHandle& handle, const EnvFormValues& values,
                  const QString& caller);

// The silent save start-up makes on a first run ("初期メイン"): stores the first-run values
// of the settings schema (where nothing was carried over) as the screen would save them, and
// re-opens the dictionaries without messages. Its check says what is wrong (a missing
// dictionary, say) and the values are stored all the same.
void SilentFirstSave(AppContext& ctx);

} // namespace pikotel
