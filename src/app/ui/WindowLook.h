#pragma once

#include <QPixmap>

class QWidget;

/// Puts the window in the middle of the screen's free area.
void centreOnScreen(QWidget* window);

/// Lays the picture under the window's controls, from the top left corner; a null picture
/// leaves the plain window colour.
void setWindowBackground(QWidget* window, const QPixmap& picture);

/// Gives a panel the plain window colour, whatever lies under it.
void setPlainBackground(QWidget* panel);

/// The design's font size for the controls of a window: the measures of its controls were made
/// for it.
void useDesignFont(QWidget* window);

/// Shrinks the font of every button below root whose caption would not fit, so that a long
/// translation stays readable in the fixed design size.
void fitButtonCaptions(QWidget* root);
