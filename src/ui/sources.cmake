# Sources of src/ui (paths relative to src/).
list(APPEND APP_SOURCES
  ui/CallPopup.cpp
  ui/ClickableLabel.cpp
  ui/ControllerCommands.cpp
  ui/DesktopPictures.cpp
  ui/DesktopUi.cpp
  ui/JournalTableModel.cpp
  ui/LanguageTags.cpp
  ui/OptionsSlide.cpp
  ui/PhonebookAdd.cpp
  ui/QtUserPrompt.cpp
  ui/Twips.cpp
  ui/TrayBlinker.cpp
  ui/WindowLook.cpp
  ui/frmCall.cpp
  ui/frmJournal.cpp
  ui/modTrayIcon.cpp)
