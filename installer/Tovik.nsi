; Per-user installer of Tovik, built by tools/package.sh with makensis:
;   makensis -DVERSION=2.3.0 -DARCH=win64 -DPAYLOAD=<folder> -DOUTFILE=<setup.exe> Tovik.nsi
; PAYLOAD holds what is installed: Tovik.exe, bmp2jpg.exe (when built),
; Tovik.html, README-ja.txt and LICENSE.txt (the last two in Windows form).
;
; Tovik writes "temp.bmp" beside itself, so it goes into the user's own
; programs folder, which the user can write, and needs no administrator.
; Silent use:
;   Tovik-<version>-<arch>-setup.exe /S [/D=<folder>]
;   uninstall.exe /S                    keeps the settings (HKCU\Software\Tovik)
;   uninstall.exe /S /REMOVESETTINGS    removes them too

!ifndef VERSION | ARCH | PAYLOAD | OUTFILE
  !error "VERSION, ARCH, PAYLOAD and OUTFILE must be defined"
!endif

Unicode true
!if "${ARCH}" == "win64"
  Target amd64-unicode
!else
  Target x86-unicode
!endif

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define PRODUCT "Tovik"
!define MAIN_CLASS "Tovik.frmMain"   ; the main window's class: found while Tovik runs
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tovik"
!define SETTINGS_KEY "Software\Tovik"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Tovik"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION} (${ARCH})"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} ${VERSION} セットアップ"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (c) 2026 the Tovik developers"

!define MUI_ICON "..\src\resources\Tovik.ico"
!define MUI_UNICON "..\src\resources\Tovik.ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_LICENSE "${PAYLOAD}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tovik.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Tovik.html"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "ヘルプを表示する"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "設定も削除するときは「設定」にチェックを付けてください。プログラムのフォルダに保存した画像は削除しません。"
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"

; A running Tovik holds its files open and would write its settings back when
; it ends: it must be closed first. Silent runs give up instead of waiting.
!macro WaitUntilTovikCloses UN
Function ${UN}WaitUntilTovikCloses
  ${Do}
    FindWindow $0 "${MAIN_CLASS}"
    ${If} $0 == 0
      Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Tovik が実行中です。Tovik を終了してから「再試行」を押してください。" /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
  retry:
  ${Loop}
FunctionEnd
!macroend
!insertmacro WaitUntilTovikCloses ""
!insertmacro WaitUntilTovikCloses "un."

Function .onInit
  Call WaitUntilTovikCloses
FunctionEnd

Section "Tovik" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${PAYLOAD}\Tovik.exe"
  !if /FileExists "${PAYLOAD}\bmp2jpg.exe"
    File "${PAYLOAD}\bmp2jpg.exe"
  !endif
  File "${PAYLOAD}\Tovik.html"
  File "${PAYLOAD}\README-ja.txt"
  File "${PAYLOAD}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\Tovik.lnk" "$INSTDIR\Tovik.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "the Tovik developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tovik.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; $1 = 1 while the install folder exists and holds nothing but uninstall.exe.
Function un.OnlyUninstallerLeft
  StrCpy $1 0
  IfFileExists "$INSTDIR\*.*" 0 done
  StrCpy $1 1
  FindFirst $2 $3 "$INSTDIR\*.*"
  ${DoWhile} $3 != ""
    ${If} $3 != "."
    ${AndIf} $3 != ".."
    ${AndIf} $3 != "uninstall.exe"
      StrCpy $1 0
    ${EndIf}
    FindNext $2 $3
  ${Loop}
  FindClose $2
done:
FunctionEnd

Section "un.Tovik" SecUninstallProgram
  SectionIn RO
  Delete "$INSTDIR\Tovik.exe"
  Delete "$INSTDIR\bmp2jpg.exe"
  Delete "$INSTDIR\Tovik.html"
  Delete "$INSTDIR\README-ja.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\temp.bmp"
  Delete "$INSTDIR\uninstall.exe"
  ; The folder goes only when empty: pictures the user saved here stay. The
  ; uninstall.exe the user started hands over to this copy of itself and ends,
  ; and its file is gone only once its process is: until then try again.
  StrCpy $0 0
  ${Do}
    RMDir "$INSTDIR"
    Call un.OnlyUninstallerLeft
    ${If} $1 != 1
    ${OrIf} $0 >= 100
      ${Break}
    ${EndIf}
    IntOp $0 $0 + 1
    Sleep 100
    Delete "$INSTDIR\uninstall.exe"
  ${Loop}
  Delete "$SMPROGRAMS\Tovik.lnk"
  ; Made by Tovik itself when the user asks it to start at logon.
  Delete "$SMSTARTUP\Tovik.lnk"
SectionEnd

Section /o "un.設定" SecSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
SectionEnd

; Last of all, so that its going tells that the uninstall has ended (the
; uninstaller runs as a copy of itself that nobody waits for).
Section "-un.Registration"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Function un.onInit
  Call un.WaitUntilTovikCloses
  ; The settings go only when the user ticks them, or asks with /REMOVESETTINGS.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecSettings}
  ${EndIf}
FunctionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecUninstallProgram} "Tovik のプログラム、ヘルプ、スタート メニューとスタートアップの項目。"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecSettings} "レジストリの HKEY_CURRENT_USER\Software\Tovik にある設定（ウィンドウの位置、ディレイタイム、画像編集ソフト、最近開いたファイルなど）。"
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
