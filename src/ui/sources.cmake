# Sources of src/ui (paths relative to src/).
list(APPEND APP_SOURCES
  ui/DesktopUi.cpp
  ui/QtUserPrompt.cpp)
