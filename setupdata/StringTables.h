#pragma once

#include "TxString.h"

// One interface text: its key (also the language file key and the registry
// value name), the variable that holds the current text and its built-in
// English text.
struct CTextKey
{
    const char* pszKey;
    TxString* pText;
    const char* pszEnglish;
};

constexpr int TEXT_KEY_COUNT = 113;

// Every key in lookup order: "glx_", "gls_", "glu_", "gla_", "gld_", "glo_",
// each family in its table order. Default texts, language switches and the
// registry export all walk this one table.
extern const CTextKey g_TextKeys[TEXT_KEY_COUNT];

// Gives every text variable its built-in English text.
void SetDefaultTexts();

// Writes "Language", "LangEName", "LangId" and the "glx_", "gla_", "gld_" and
// "glo_" texts under HKLM\Software\Kestov\Quorvane\Language for the product's
// other programs. Returns without writing when the key cannot be opened.
void ExportLanguageToRegistry();
// Writes the "glu_" texts to the same key, for the uninstaller.
void ExportUninstallTextsToRegistry();

// Texts common to all programs.
extern TxString glx_Ok, glx_Cancel;

// Texts of the setup itself.
extern TxString gls_QuorvaneDD, gls_QuorvaneSetupDD, gls_FileNotFoundS, gls_Error, gls_Welcome,
    gls_InstallOptions, gls_Images, gls_ReadyToInstall, gls_NotReadyToInstall, gls_SetupComplete,
    gls_SetupUnsuccessful, gls_SetupSuccessful, gls_WantToCancel, gls_CancelRequest,
    gls_CannotCreateFolderS, gls_CopyError, gls_InstalledD, gls_StopRequested,
    gls_NoRightsForFolderS, gls_InsufficientRights, gls_NoRightsForFileS, gls_NoRightsForFile,
    gls_NoRightsFoRegistry, gls_DoNotAdd, gls_Add, gls_AddForCurrentUser, gls_AddForAllUsers,
    gls_FreeSpaceSSS, gls_ImagesAvailableD, gls_FreeSpaceSS, gls_InstallAllImagesS,
    gls_ImagesAboutS, gls_Usage, gls_CreateFolder, gls_FolderCannotBeCreated, gls_ButtonClose,
    gls_ButtonOk, gls_ButtonPrevious, gls_ButtonNext, gls_ButtonCancel, gls_ButtonStart,
    gls_ButtonStop, gls_PreparedToInstall, gls_NotPreparedToInstall, gls_InstallTo,
    gls_AddToStartMenu, gls_AddToDesktop, gls_InstallImagesTo, gls_ImagesNote, gls_InstallNoImages,
    gls_InstallRandomImages, gls_SelectLanguage, gls_Folders, gls_NewFolder, gls_RunManagerNow,
    gls_CannotInstall, gls_NotEnoughSpace;

// Texts of the uninstaller.
extern TxString glu_Caption, glu_Usage, glu_Complete, glu_Start, glu_Cancel, glu_Close,
    glu_CannotUninstall, glu_UninstallFileNotFoundS, glu_CannotReadUninstallFileS,
    glu_RemovedFolderS, glu_RemovedFileS, glu_RemovedRegistryItemS, glu_CannotRemoveFileS,
    glu_FileModifiedS, glu_CannotFindFileS, glu_CannotRemoveFolderS, glu_CannotFindFolderS,
    glu_CannotFindRegistryItemS, glu_CannotRemoveRegistryItemS, glu_ClosingAgent,
    glu_RemovedUninstall, glu_CannotRemoveUninstall;

// Texts of the background agent and of its status while it prepares a wallpaper.
extern TxString gla_Caption, gla_CaptionProgress, gla_CaptionBlocked, gla_CaptionConflictS,
    gla_Error, gla_CanotFindFunction, gla_Previous, gla_Next, gla_DoNotDisplayAgain, gla_Manager,
    gla_Enable, gla_Disable, gla_Exit;
extern TxString gld_ReadingS, gld_ResamplingDDDD, gld_CalculatingColor, gld_Saving,
    gld_ErrorNotConfigured, gld_ErrorFileNotExist, gld_ErrorCannotReadWrite, gld_CheckingChanges,
    gld_RandomSelection, gld_ErrorNoImageFound, gld_SelectedImage;

// Texts of the screen saver's configuration dialog.
extern TxString glo_Caption, glo_RandomSelection, glo_Interpolation, glo_ShowFileName,
    glo_AppendDate, glo_ExchangePeriod, glo_Seconds, glo_CaptionConflictS;
