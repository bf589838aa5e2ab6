; Snapdisc-Setup.exe: installs the program folder under the 64-bit Program
; Files, a Start-menu folder, an entry in Add/Remove Programs and the .snz
; association, and registers the burning engine where the program looks for
; it, unless another engine is registered there already. The uninstaller
; takes away only what the installer added: the user's projects, settings
; and disc images stay.
;
; makensis -DOUTFILE=<setup exe> -DFILES=<file list> -DICON=<icon>
;          -DVERSION=<x.y> Snapdisc.nsi
; The file list (made by the build) defines the macros InstallFiles and
; RemoveFiles for the program folder's files.

; The program is 64-bit, and so is its installer: it writes the 64-bit
; registry view and installs under the 64-bit Program Files, where the
; program looks for its engine and settings (a 32-bit installer would be
; redirected to the 32-bit ones).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include LogicLib.nsh

!define PRODUCT "Snapdisc"
!define PUBLISHER "Larkfield"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Snapdisc"
!define ENGINE_KEY "SOFTWARE\ahead\Shared"
!define ENGINE_VALUE "NeroAPI"
!define PROGID "Snapdisc.Project"
; What this installer added and the uninstaller may take away again.
!define MARK_ENGINE "EngineRegisteredBySetup"
!define MARK_ENGINE_KEY "EngineKeyCreatedBySetup"
!define MARK_AHEAD_KEY "EngineParentKeyCreatedBySetup"
!define MARK_EXTENSION "ExtensionRegisteredBySetup"

!include "${FILES}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION RunWithSample
!define MUI_FINISHPAGE_RUN_TEXT "$(RunSample)"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "French"

LangString OtherEngine ${LANG_ENGLISH} "Another burning engine is registered on this computer ($0).$\r$\n$\r$\nSnapdisc will burn with that engine; its registration is left as it is. Snapdisc's own engine is installed in $INSTDIR for when the other one is removed."
LangString OtherEngine ${LANG_GERMAN} "Auf diesem Computer ist bereits eine andere Brenn-Engine eingetragen ($0).$\r$\n$\r$\nSnapdisc brennt mit dieser Engine; ihr Eintrag bleibt unverändert. Die Engine von Snapdisc wird in $INSTDIR installiert, für den Fall, dass die andere entfernt wird."
LangString OtherEngine ${LANG_FRENCH} "Un autre moteur de gravure est déjà inscrit sur cet ordinateur ($0).$\r$\n$\r$\nSnapdisc gravera avec ce moteur ; son inscription reste inchangée. Le moteur de Snapdisc est installé dans $INSTDIR pour le jour où l'autre sera retiré."
LangString NoSample ${LANG_ENGLISH} "The sample project could not be made."
LangString NoSample ${LANG_GERMAN} "Das Beispielprojekt konnte nicht erstellt werden."
LangString NoSample ${LANG_FRENCH} "Le projet d'exemple n'a pas pu être créé."
LangString RunSample ${LANG_ENGLISH} "Start Snapdisc with the sample project"
LangString RunSample ${LANG_GERMAN} "Snapdisc mit dem Beispielprojekt starten"
LangString RunSample ${LANG_FRENCH} "Lancer Snapdisc avec le projet d'exemple"
LangString ProjectType ${LANG_ENGLISH} "Snapdisc project"
LangString ProjectType ${LANG_GERMAN} "Snapdisc-Projekt"
LangString ProjectType ${LANG_FRENCH} "Projet Snapdisc"
; The help's shortcut is named in the language of the install; the
; uninstaller removes whichever of the names is there.
!define HELP_LINK_EN "Snapdisc Help"
!define HELP_LINK_DE "Snapdisc-Hilfe"
!define HELP_LINK_FR "Aide de Snapdisc"
LangString HelpLink ${LANG_ENGLISH} "${HELP_LINK_EN}"
LangString HelpLink ${LANG_GERMAN} "${HELP_LINK_DE}"
LangString HelpLink ${LANG_FRENCH} "${HELP_LINK_FR}"

Function .onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function RunWithSample
    Exec '"$INSTDIR\snapdisc.exe" "$INSTDIR\Sample\Sample.snz"'
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

; Registers the engine's folder unless a value is there already. Marks in
; the uninstall key record what was created, so that only that goes again.
Function RegisterEngine
    ReadRegStr $0 HKLM "${ENGINE_KEY}" "${ENGINE_VALUE}"
    ${If} $0 == ""
        ClearErrors
        EnumRegValue $1 HKLM "SOFTWARE\ahead" 0
        ${If} ${Errors}
            WriteRegDWORD HKLM "${UNINSTALL_KEY}" "${MARK_AHEAD_KEY}" 1
        ${EndIf}
        ClearErrors
        EnumRegValue $1 HKLM "${ENGINE_KEY}" 0
        ${If} ${Errors}
            WriteRegDWORD HKLM "${UNINSTALL_KEY}" "${MARK_ENGINE_KEY}" 1
        ${EndIf}
        WriteRegStr HKLM "${ENGINE_KEY}" "${ENGINE_VALUE}" "$INSTDIR"
        WriteRegDWORD HKLM "${UNINSTALL_KEY}" "${MARK_ENGINE}" 1
    ${ElseIf} $0 != $INSTDIR
        MessageBox MB_OK|MB_ICONINFORMATION "$(OtherEngine)" /SD IDOK
    ${EndIf}
    ; The same folder again (a repeated install) keeps the earlier marks.
FunctionEnd

; The .snz extension opens a project in Snapdisc. An extension that named
; another program before is taken over but not deleted on uninstall.
Function RegisterProjectType
    ReadRegStr $0 HKLM "Software\Classes\.snz" ""
    ${If} $0 == ""
        WriteRegDWORD HKLM "${UNINSTALL_KEY}" "${MARK_EXTENSION}" 1
    ${EndIf}
    WriteRegStr HKLM "Software\Classes\.snz" "" "${PROGID}"
    WriteRegStr HKLM "Software\Classes\${PROGID}" "" "$(ProjectType)"
    WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" '"$INSTDIR\snapdisc.exe",0'
    WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\snapdisc.exe" "%1"'
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
FunctionEnd

Section "Snapdisc"
    SetOutPath "$INSTDIR"
    !insertmacro InstallFiles
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\snapdisc.exe",0'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

    ; The sample project names its pictures by full path, so it is made
    ; here, in the folder the user chose.
    nsExec::Exec '"$INSTDIR\snapburn.exe" sample "$INSTDIR\Sample"'
    Pop $0
    ${If} $0 != 0
        DetailPrint "$(NoSample)"
    ${EndIf}

    CreateDirectory "$SMPROGRAMS\${PRODUCT}"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\snapdisc.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}\$(HelpLink).lnk" "$INSTDIR\Snapdisc.chm"

    Call RegisterProjectType
    Call RegisterEngine
SectionEnd

Section "Uninstall"
    ; The engine's registration, if it is still the one this setup made.
    ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "${MARK_ENGINE}"
    ReadRegStr $1 HKLM "${ENGINE_KEY}" "${ENGINE_VALUE}"
    ${If} $0 == 1
    ${AndIf} $1 == $INSTDIR
        DeleteRegValue HKLM "${ENGINE_KEY}" "${ENGINE_VALUE}"
        ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "${MARK_ENGINE_KEY}"
        ${If} $0 == 1
            DeleteRegKey /ifempty HKLM "${ENGINE_KEY}"
        ${EndIf}
        ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "${MARK_AHEAD_KEY}"
        ${If} $0 == 1
            DeleteRegKey /ifempty HKLM "SOFTWARE\ahead"
        ${EndIf}
    ${EndIf}

    ; The association, if .snz still opens in this Snapdisc.
    ReadRegStr $1 HKLM "Software\Classes\${PROGID}\shell\open\command" ""
    ${If} $1 == '"$INSTDIR\snapdisc.exe" "%1"'
        DeleteRegKey HKLM "Software\Classes\${PROGID}"
        ReadRegStr $1 HKLM "Software\Classes\.snz" ""
        ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "${MARK_EXTENSION}"
        ${If} $1 == "${PROGID}"
        ${AndIf} $0 == 1
            DeleteRegKey HKLM "Software\Classes\.snz"
        ${EndIf}
        System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
    ${EndIf}

    Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\${HELP_LINK_EN}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\${HELP_LINK_DE}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT}\${HELP_LINK_FR}.lnk"
    RMDir "$SMPROGRAMS\${PRODUCT}"

    !insertmacro RemoveFiles
    Delete "$INSTDIR\Uninstall.exe"
    ; Folders go only when empty: a project the user saved there stays.
    RMDir "$INSTDIR\Sample"
    RMDir "$INSTDIR\lang"
    RMDir "$INSTDIR"

    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
