#include "StringTables.h"

TxString glx_Ok, glx_Cancel;

TxString gls_QuorvaneDD, gls_QuorvaneSetupDD, gls_FileNotFoundS, gls_Error, gls_Welcome,
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

TxString glu_Caption, glu_Usage, glu_Complete, glu_Start, glu_Cancel, glu_Close,
    glu_CannotUninstall, glu_UninstallFileNotFoundS, glu_CannotReadUninstallFileS,
    glu_RemovedFolderS, glu_RemovedFileS, glu_RemovedRegistryItemS, glu_CannotRemoveFileS,
    glu_FileModifiedS, glu_CannotFindFileS, glu_CannotRemoveFolderS, glu_CannotFindFolderS,
    glu_CannotFindRegistryItemS, glu_CannotRemoveRegistryItemS, glu_ClosingAgent,
    glu_RemovedUninstall, glu_CannotRemoveUninstall;

TxString gla_Caption, gla_CaptionProgress, gla_CaptionBlocked, gla_CaptionConflictS, gla_Error,
    gla_CanotFindFunction, gla_Previous, gla_Next, gla_DoNotDisplayAgain, gla_Manager, gla_Enable,
    gla_Disable, gla_Exit;
TxString gld_ReadingS, gld_ResamplingDDDD, gld_CalculatingColor, gld_Saving, gld_ErrorNotConfigured,
    gld_ErrorFileNotExist, gld_ErrorCannotReadWrite, gld_CheckingChanges, gld_RandomSelection,
    gld_ErrorNoImageFound, gld_SelectedImage;

TxString glo_Caption, glo_RandomSelection, glo_Interpolation, glo_ShowFileName, glo_AppendDate,
    glo_ExchangePeriod, glo_Seconds, glo_CaptionConflictS;

// The key text is the variable's own name, so the two cannot drift apart.
#define QV_TEXT(name, english)                                                                     \
    {                                                                                              \
#name, &name, english                                                                      \
    }

// Misspelt keys and texts (gls_NoRightsFoRegistry, gla_CanotFindFunction,
// "wallaper") are part of the language file and registry interface: the
// installed programs look them up as written.
const CTextKey g_TextKeys[] = {
    QV_TEXT(glx_Ok, "OK"),
    QV_TEXT(glx_Cancel, "Cancel"),

    QV_TEXT(gls_QuorvaneDD, "Quorvane %d.%0.2d"),
    QV_TEXT(gls_QuorvaneSetupDD, "Quorvane %d.%0.2d Setup"),
    QV_TEXT(gls_FileNotFoundS, "File %s not found. Cannot continue in installation."),
    QV_TEXT(gls_Error, "Error"),
    QV_TEXT(gls_Welcome, "Welcome"),
    QV_TEXT(gls_InstallOptions, "Install Options"),
    QV_TEXT(gls_Images, "Images"),
    QV_TEXT(gls_ReadyToInstall, "Ready to install"),
    QV_TEXT(gls_NotReadyToInstall, "Not ready to install"),
    QV_TEXT(gls_SetupComplete, "Installation Complete"),
    QV_TEXT(gls_SetupUnsuccessful, "Installation was unsuccessful. The program will not be "
                                   "functional until you install it again."),
    QV_TEXT(gls_SetupSuccessful, "Installation completed successfully.\n\n Quorvane Manager must "
                                 "be run to configure the wallpaper change."),
    QV_TEXT(gls_WantToCancel, "Are you sure you want to cancel the installation?"),
    QV_TEXT(gls_CancelRequest, "Cancel Request"),
    QV_TEXT(gls_CannotCreateFolderS, "Cannot create folder %s"),
    QV_TEXT(gls_CopyError, "Copy Error"),
    QV_TEXT(gls_InstalledD, "Installed %d %%"),
    QV_TEXT(gls_StopRequested, "Stop Requested"),
    QV_TEXT(gls_NoRightsForFolderS, "Cannot create folders in %s. Be sure you run this setup "
                                    "program with sufficient (administrator) rights."),
    QV_TEXT(gls_InsufficientRights, "Insufficient rights"),
    QV_TEXT(gls_NoRightsForFileS, "Cannot create files in %s. Be sure you run this setup program "
                                  "with sufficient (administrator) rights."),
    QV_TEXT(gls_NoRightsForFile, "Cannot create files. Be sure you run this setup program with "
                                 "sufficient (administrator) rights."),
    QV_TEXT(gls_NoRightsFoRegistry, "Cannot write to Windows Registry. Be sure you run this setup "
                                    "program with sufficient (administrator) rights."),
    QV_TEXT(gls_DoNotAdd, "Do not add"),
    QV_TEXT(gls_Add, "Add"),
    QV_TEXT(gls_AddForCurrentUser, "Add for current user only"),
    QV_TEXT(gls_AddForAllUsers, "Add for all users"),
    QV_TEXT(gls_FreeSpaceSSS, "On %s is %s free space. The space required by this program is %s."),
    QV_TEXT(gls_ImagesAvailableD, "%d images available to be installed. "),
    QV_TEXT(gls_FreeSpaceSS, "On %s is %s free space."),
    QV_TEXT(gls_InstallAllImagesS, "Install all images (requires %s)."),
    QV_TEXT(gls_ImagesAboutS, "images, about %s"),
    QV_TEXT(gls_Usage,
            "This installation program will install the Kestov Quorvane wallpaper changer and "
            "screensaver on your PC.\r\n\r\n"
            "The setup copies the program files, adds Quorvane to the Start menu and to the "
            "desktop if you wish, and can install images from the CD for the wallpaper "
            "changer.\r\n\r\n"
            "Please close all other programs, including a running Quorvane Agent, before you "
            "continue.\r\n\r\n"
            "Select the language of the installation from the list and click \"Next\" to "
            "continue. Click \"Cancel\" to leave the setup without installing anything."),
    QV_TEXT(gls_CreateFolder, "Create folder in \""),
    QV_TEXT(gls_FolderCannotBeCreated, "The folder cannot be created."),
    QV_TEXT(gls_ButtonClose, "Close"),
    QV_TEXT(gls_ButtonOk, "OK"),
    QV_TEXT(gls_ButtonPrevious, "<  Previous"),
    QV_TEXT(gls_ButtonNext, "Next  >"),
    QV_TEXT(gls_ButtonCancel, "Cancel"),
    QV_TEXT(gls_ButtonStart, "Start"),
    QV_TEXT(gls_ButtonStop, "Stop"),
    QV_TEXT(gls_PreparedToInstall, "The Setup has now all needed information to start the "
                                   "installation. Press the \"Start\" button to start the "
                                   "installation."),
    QV_TEXT(gls_NotPreparedToInstall, "The Setup cannot start the installation. Press the "
                                      "\"Previous\" button to correct installation options."),
    QV_TEXT(gls_InstallTo, "Install to folder:"),
    QV_TEXT(gls_AddToStartMenu, "Add Quorvane to Start Menu"),
    QV_TEXT(gls_AddToDesktop, "Add Quorvane icon to Desktop"),
    QV_TEXT(gls_InstallImagesTo, "Install images to:"),
    QV_TEXT(gls_ImagesNote, "You can always delete installed images later on, without influence "
                            "to the functionality of the program. You can also copy images from "
                            "the CD later on manually."),
    QV_TEXT(gls_InstallNoImages, "Do not install any images"),
    QV_TEXT(gls_InstallRandomImages, "Install random selection of images:"),
    QV_TEXT(gls_SelectLanguage, "Select language:"),
    QV_TEXT(gls_Folders, "Folders"),
    QV_TEXT(gls_NewFolder, "New folder"),
    QV_TEXT(gls_RunManagerNow, "Run Quorvane Manager now"),
    QV_TEXT(gls_CannotInstall, "Cannot install"),
    QV_TEXT(gls_NotEnoughSpace, "There is not enough free space on the destination disk."),

    QV_TEXT(glu_Caption, "Quorvane Uninstall Program"),
    QV_TEXT(glu_Usage, "This uninstallation program will remove the Quorvane wallpaper changer "
                       "and screensaver from your PC."),
    QV_TEXT(glu_Complete, "Uninstallation Complete"),
    QV_TEXT(glu_Start, "Start"),
    QV_TEXT(glu_Cancel, "Cancel"),
    QV_TEXT(glu_Close, "Close"),
    QV_TEXT(glu_CannotUninstall, "Cannot uninstall."),
    QV_TEXT(glu_UninstallFileNotFoundS, "The installation history file is missing: %s"),
    QV_TEXT(glu_CannotReadUninstallFileS, "Cannot read the installation history file: %s"),
    QV_TEXT(glu_RemovedFolderS, "Removed folder %s"),
    QV_TEXT(glu_RemovedFileS, "Deleted file %s"),
    QV_TEXT(glu_RemovedRegistryItemS, "Removed Registry value %s"),
    QV_TEXT(glu_CannotRemoveFileS, "Cannot delete file %s"),
    QV_TEXT(glu_FileModifiedS, "File %s was modified - not deleted."),
    QV_TEXT(glu_CannotFindFileS, "File %s not found."),
    QV_TEXT(glu_CannotRemoveFolderS, "Cannot remove folder %s."),
    QV_TEXT(glu_CannotFindFolderS, "Folder %s not found."),
    QV_TEXT(glu_CannotFindRegistryItemS, "Cannot find Registry value %s."),
    QV_TEXT(glu_CannotRemoveRegistryItemS, "Cannot remove Registry value %s."),
    QV_TEXT(glu_ClosingAgent, "Stopping Quorvane Agent..."),
    QV_TEXT(glu_RemovedUninstall, "Removed uninstall info from Registry."),
    QV_TEXT(glu_CannotRemoveUninstall, "Cannot remove uninstall info from Registry."),

    QV_TEXT(gla_Caption, "Quorvane Agent"),
    QV_TEXT(gla_CaptionProgress, "Quorvane Agent (working...)"),
    QV_TEXT(gla_CaptionBlocked, "Quorvane Agent (disabled)"),
    QV_TEXT(gla_CaptionConflictS, "Quorvane Agent (blocked due to %s)"),
    QV_TEXT(gla_Error, "Error"),
    QV_TEXT(gla_CanotFindFunction, "Incompatible QvApi.dll"),
    QV_TEXT(gla_Previous, "Previous wallaper"),
    QV_TEXT(gla_Next, "Next wallpaper"),
    QV_TEXT(gla_DoNotDisplayAgain, "Do not display this image again"),
    QV_TEXT(gla_Manager, "Manager (settings)..."),
    QV_TEXT(gla_Enable, "Enable changes"),
    QV_TEXT(gla_Disable, "Disable changes"),
    QV_TEXT(gla_Exit, "Exit"),

    QV_TEXT(gld_ReadingS, "Reading %s..."),
    QV_TEXT(gld_ResamplingDDDD, "Resampling from %dx%d to %dx%d..."),
    QV_TEXT(gld_CalculatingColor, "Calculating background color..."),
    QV_TEXT(gld_Saving, "Saving to BMP file..."),
    QV_TEXT(gld_ErrorNotConfigured, "ERROR: Missing configuration."),
    QV_TEXT(gld_ErrorFileNotExist, "ERROR: File does not exist:"),
    QV_TEXT(gld_ErrorCannotReadWrite, "ERROR: Image cannot be read or saved."),
    QV_TEXT(gld_CheckingChanges, "Checking folders for changes..."),
    QV_TEXT(gld_RandomSelection, "Making random selection..."),
    QV_TEXT(gld_ErrorNoImageFound, "ERROR: No image matching criteria found."),
    QV_TEXT(gld_SelectedImage, "Selected image:"),

    QV_TEXT(glo_Caption, "Quorvane Screen Saver Configuration"),
    QV_TEXT(glo_RandomSelection, "Random image selection"),
    QV_TEXT(glo_Interpolation, "Resample with interpolation"),
    QV_TEXT(glo_ShowFileName, "Show image file name"),
    QV_TEXT(glo_AppendDate, "Append image file date"),
    QV_TEXT(glo_ExchangePeriod, "Exchange period:"),
    QV_TEXT(glo_Seconds, "seconds"),
    QV_TEXT(glo_CaptionConflictS, "Quorvane Screen Saver blocked due to: %s"),
};

#undef QV_TEXT

void SetDefaultTexts()
{
    for (const CTextKey& key : g_TextKeys)
        key.pText->Assign(key.pszEnglish);
}
