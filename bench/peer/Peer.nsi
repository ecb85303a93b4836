; The peer installer the benchmarks measure the setup against: NSIS 3 with
; the Modern UI (welcome, directory and install pages), putting the payload
; scripts/bench lists into one folder. Built by scripts/bench:
;
;   makensis -DOUTFILE=peer.exe -DPAYLOAD=payload.nsh -DCOMPRESSION=off|lzma Peer.nsi
;
; PAYLOAD holds the SetOutPath and File lines of the same files our setup
; installs from the same medium.
!include "MUI2.nsh"

Name "Quorvane"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Quorvane Peer"
RequestExecutionLevel admin

!if "${COMPRESSION}" == "off"
  SetCompress off
!else
  SetCompressor /SOLID lzma
!endif

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Files"
  !include "${PAYLOAD}"
SectionEnd
