#include "tests/support/layouts.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/core/process.h"
#include "platform/core/string_table.h"
#include "tests/support/harness.h"

namespace drav::test {

namespace {

const char* const test_dialog_ui = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>D900</class>
 <widget class="QWidget" name="D900">
  <property name="geometry"><rect><x>0</x><y>0</y><width>301</width><height>200</height></rect></property>
  <property name="cancel_item" stdset="0"><number>2</number></property>
  <widget class="QPushButton" name="ok">
   <property name="geometry"><rect><x>200</x><y>160</y><width>80</width><height>26</height></rect></property>
   <property name="text"><string>OK</string></property>
   <property name="item" stdset="0"><number>1</number></property>
  </widget>
  <widget class="QPushButton" name="cancel">
   <property name="geometry"><rect><x>110</x><y>160</y><width>80</width><height>26</height></rect></property>
   <property name="text"><string>Cancel</string></property>
   <property name="item" stdset="0"><number>2</number></property>
  </widget>
  <widget class="QLabel" name="label">
   <property name="geometry"><rect><x>10</x><y>10</y><width>120</width><height>20</height></rect></property>
   <property name="text"><string>Distance:</string></property>
   <property name="item" stdset="0"><number>3</number></property>
  </widget>
  <widget class="QLineEdit" name="first">
   <property name="geometry"><rect><x>140</x><y>10</y><width>100</width><height>22</height></rect></property>
   <property name="item" stdset="0"><number>4</number></property>
  </widget>
  <widget class="QLineEdit" name="second">
   <property name="geometry"><rect><x>140</x><y>40</y><width>100</width><height>22</height></rect></property>
   <property name="item" stdset="0"><number>5</number></property>
  </widget>
  <widget class="QCheckBox" name="check">
   <property name="geometry"><rect><x>10</x><y>70</y><width>120</width><height>20</height></rect></property>
   <property name="text"><string>Copies</string></property>
   <property name="item" stdset="0"><number>6</number></property>
  </widget>
  <widget class="QRadioButton" name="r7">
   <property name="geometry"><rect><x>10</x><y>95</y><width>40</width><height>20</height></rect></property>
   <property name="text"><string>A</string></property>
   <property name="item" stdset="0"><number>7</number></property>
  </widget>
  <widget class="QRadioButton" name="r8">
   <property name="geometry"><rect><x>55</x><y>95</y><width>40</width><height>20</height></rect></property>
   <property name="text"><string>B</string></property>
   <property name="item" stdset="0"><number>8</number></property>
  </widget>
  <widget class="QRadioButton" name="r9">
   <property name="geometry"><rect><x>100</x><y>95</y><width>40</width><height>20</height></rect></property>
   <property name="text"><string>C</string></property>
   <property name="item" stdset="0"><number>9</number></property>
  </widget>
  <widget class="QComboBox" name="units">
   <property name="geometry"><rect><x>150</x><y>70</y><width>100</width><height>22</height></rect></property>
   <property name="item" stdset="0"><number>10</number></property>
   <item><property name="text"><string>Inch</string></property></item>
   <item><property name="text"><string>Foot</string></property></item>
   <item><property name="text"><string>Metre</string></property></item>
  </widget>
  <widget class="DravUserItem" name="frame">
   <property name="geometry"><rect><x>150</x><y>100</y><width>40</width><height>20</height></rect></property>
   <property name="item" stdset="0"><number>11</number></property>
  </widget>
  <widget class="DravList" name="list">
   <property name="geometry"><rect><x>10</x><y>120</y><width>80</width><height>36</height></rect></property>
   <property name="item" stdset="0"><number>12</number></property>
  </widget>
  <widget class="QScrollBar" name="bar">
   <property name="geometry"><rect><x>285</x><y>0</y><width>16</width><height>150</height></rect></property>
   <property name="orientation"><enum>Qt::Vertical</enum></property>
   <property name="maximum"><number>100</number></property>
   <property name="value"><number>40</number></property>
   <property name="item" stdset="0"><number>13</number></property>
  </widget>
  <widget class="DravPicture" name="picture">
   <property name="geometry"><rect><x>200</x><y>100</y><width>30</width><height>30</height></rect></property>
   <property name="item" stdset="0"><number>14</number></property>
  </widget>
 </widget>
</ui>
)";

std::filesystem::path g_real;

std::filesystem::path copy_dir() { return scratch_dir() / "layouts-bundle"; }

}  // namespace

void use_test_layouts() {
    if (g_real.empty()) g_real = plat::bundle_dir();
    namespace fs = std::filesystem;
    const fs::path dir = copy_dir();
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy(g_real / "strings", dir / "strings", fs::copy_options::recursive);
    fs::copy(g_real / "ui", dir / "ui", fs::copy_options::recursive);
    fs::copy(g_real / "keyfilters.txt", dir / "keyfilters.txt");
    setenv("DRAVELIN_DATA", dir.c_str(), 1);
    plat::reload_strings();
    write_layout("ui/dlog/900.ui", test_dialog_ui);
}

void write_layout(const char* relative_path, const char* text) {
    const std::filesystem::path p = copy_dir() / relative_path;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary | std::ios::trunc) << text;
}

void drop_test_layouts() {
    unsetenv("DRAVELIN_DATA");
    plat::reload_strings();
}

}  // namespace drav::test
