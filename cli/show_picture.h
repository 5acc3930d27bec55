// A whole show in one picture: 64 scenes (rows) by 64 dimmers (columns), each cell as bright as
// its level, named as the editor names them, with a legend of the percent scale and a caption;
// and the difference between two shows, with the cells that differ in one colour. Drawing text
// needs a QGuiApplication.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRgb>
#include <QString>

#include "document/scene_table.h"

namespace corvane::cli {

// A cell's colour: grey from black (level 0) to white (255); dimmed to a quarter of that
// brightness where two shows agree; the two colours below where they differ, or where a level
// lies outside 0 to 255, which no controller holds (that colour wins when both apply).
inline constexpr QRgb kDifferenceColour = qRgb(255, 48, 48);
inline constexpr QRgb kOutsideColour = qRgb(0, 176, 255);
QRgb LevelColour(int16_t level);
QRgb DimmedLevelColour(int16_t level);

// The centre of the cell of (scene, dimmer), counted from 0, in every picture.
QPoint CellCentre(int scene, int dimmer);

// The picture of table, titled with name (the file's name). Its caption is also the PNG's
// "Description" text, its title the "Title" text.
QImage DrawShow(const SceneTable& table, const QString& name);

// The picture of where table and other differ, titled with both names; the caption counts the
// levels that differ (as diff does) and those outside 0 to 255.
QImage DrawDifference(const SceneTable& table, const QString& name, const SceneTable& other,
                      const QString& otherName);

}  // namespace corvane::cli
