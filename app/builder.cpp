#include "app/builder.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/combo_style.h"
#include "window/auto_size.h"

namespace app {
namespace {

window::Color Encode(const QColor& color) {
  return static_cast<window::Color>(color.red()) |
         static_cast<window::Color>(color.green()) << 8 |
         static_cast<window::Color>(color.blue()) << 16;
}

// The picture is compiled in: reading it through Qt's image plugins would
// cost more start-up time than building the whole window.
#include "window/icon.xpm"

// Qt gives a plain-text label no menu, and Ctrl+C needs the focus that the
// label never takes; so its own menu copies the selection, or the whole
// caption when nothing is selected.
void AddCopyAction(QLabel& label) {
  // Worded as the edit fields' own menu words it: Qt's text when its
  // Chinese texts are installed.
  QString text = QCoreApplication::translate("QLineEdit", "&Copy");
  if (!IsTranslated(text)) text = QStringLiteral("复制(&C)");
  auto* copy = new QAction(text, &label);
  // Shown beside the text as in the fields' menu; it acts while the menu is
  // open, as the label itself never has the focus.
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WidgetShortcut);
  QObject::connect(copy, &QAction::triggered, &label, [&label] {
    QGuiApplication::clipboard()->setText(
        label.hasSelectedText() ? label.selectedText() : label.text());
  });
  label.addAction(copy);
  label.setContextMenuPolicy(Qt::ActionsContextMenu);
}

QLabel* MakeLabel(const window::ControlRecord& record, QWidget& parent) {
  auto* label = new QLabel(&parent);
  // A caption is never markup, whatever it looks like.
  label->setTextFormat(Qt::PlainText);
  label->setText(Utf8(record.text));
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  if (record.selectable) {
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    AddCopyAction(*label);
  }
  // After the interaction flags, which would make the label take the focus
  // on a click and so change what the keyboard acts on.
  label->setFocusPolicy(Qt::NoFocus);
  if (!record.accessible_description.empty()) {
    label->setAccessibleDescription(Utf8(record.accessible_description));
  }
  label->setAutoFillBackground(true);
  if (record.font) label->setFont(RecordFont(*record.font));

  QPalette palette = label->palette();
  SetLabelColors(palette, record.fore_color.value_or(window::kNormalTextColor),
                 record.back_color);
  label->setPalette(palette);

  label->move(Px(record.left), Px(record.top));
  if (record.auto_size) {
    ApplyAutoSize(*label, record.text);
  } else {
    label->resize(Px(record.width), Px(record.height));
  }
  return label;
}

QComboBox* MakeComboBox(const window::ControlRecord& record, QWidget& parent,
                        QStyle& style) {
  auto* combo = new QComboBox(&parent);
  combo->setStyle(&style);
  combo->setEditable(true);
  // Qt would add the text to the list on Enter and complete "4" to "4800";
  // the typed text is used exactly as typed.
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setCompleter(nullptr);
  combo->setEditText(Utf8(record.text));
  combo->setGeometry(Px(record.left), Px(record.top), Px(record.width),
                     Px(record.height));
  return combo;
}

QPushButton* MakeButton(const window::ControlRecord& record, QWidget& parent) {
  auto* button = new QPushButton(Utf8(record.text), &parent);
  button->setAutoDefault(false);
  button->setDefault(false);
  button->setGeometry(Px(record.left), Px(record.top), Px(record.width),
                      Px(record.height));
  return button;
}

QWidget* MakeControl(const window::ControlRecord& record, QWidget& parent,
                     QStyle& combo_style) {
  switch (record.kind) {
    case window::ControlKind::kLabel:
      return MakeLabel(record, parent);
    case window::ControlKind::kComboBox:
      return MakeComboBox(record, parent, combo_style);
    case window::ControlKind::kCommandButton:
      return MakeButton(record, parent);
  }
  return nullptr;
}

// Linux screen readers name a combo box by the label it is the buddy of;
// other platforms by its accessible name. Its edit field, which has the
// focus while the user types, is named too.
void NameAfterHeading(QLabel* heading, QComboBox* combo) {
  if (heading == nullptr || combo == nullptr) return;
  heading->setBuddy(combo);
  combo->setAccessibleName(heading->text());
  combo->lineEdit()->setAccessibleName(heading->text());
}

}  // namespace

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool IsTranslated(const QString& text) {
  return std::any_of(text.begin(), text.end(),
                     [](QChar c) { return c.unicode() > 0x7F; });
}

int Px(int twips) { return window::Pixels(twips); }

window::SystemColors PaletteColors(const QPalette& palette) {
  return [&palette](int index) {
    return Encode(palette.color(index == window::kSystemButtonFace
                                    ? QPalette::Window
                                    : QPalette::ButtonText));
  };
}

void SetLabelColors(QPalette& palette, window::Color fore,
                    std::optional<window::Color> back) {
  const window::LabelColors shown =
      window::ShownColors(fore, back, PaletteColors(palette));
  const auto decode = [](window::Color c) {
    return QColor(window::Red(c), window::Green(c), window::Blue(c));
  };
  if (back) palette.setColor(QPalette::Window, decode(shown.back));
  palette.setColor(QPalette::WindowText, decode(shown.text));
}

bool IsInstalled(const QString& family) {
  return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

QString ChineseFamily() {
  // Listing families is cheap; asking for one by name makes fontconfig
  // resolve aliases, which costs more than building the whole window.
  static const QString family = [] {
    const QString preferred = QStringLiteral("WenQuanYi Micro Hei");
    const QStringList installed =
        QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    return installed.contains(preferred) ? preferred : installed.value(0);
  }();
  return family;
}

QFont RecordFont(const window::FontRecord& record) {
  QFont font;
  // A family that is not installed is left out rather than left for
  // fontconfig to substitute: that search costs several milliseconds.
  QStringList families;
  if (const QString wanted = Utf8(record.family); IsInstalled(wanted)) {
    families.append(wanted);
  }
  if (const QString fallback = ChineseFamily(); !fallback.isEmpty()) {
    families.append(fallback);
  }
  font.setFamilies(families);
  font.setPointSize(record.point_size);
  // Qt's weights are the same 100..900 scale. The character set (GB2312)
  // only matters to code-page fonts; Qt's are Unicode, and the fallback
  // family above guarantees the Chinese glyphs.
  font.setWeight(static_cast<QFont::Weight>(record.weight));
  font.setItalic(record.italic);
  font.setUnderline(record.underline);
  font.setStrikeOut(record.strikeout);
  return font;
}

void ApplyAutoSize(QLabel& label, std::string_view text) {
  const QFontMetricsF metrics(label.font(), &label);
  const window::TwipSize size = window::AutoSizeTwips(
      text,
      [&metrics](std::string_view line) {
        return metrics.horizontalAdvance(Utf8(line));
      },
      qCeil(metrics.height()));
  label.resize(Px(size.width), Px(size.height));
}

BuiltWindow BuildWindow(const window::WindowRecord& form,
                        std::span<const window::ControlRecord> controls) {
  BuiltWindow built{std::make_unique<QWidget>(), {}};
  QWidget& top = *built.form;
  top.setObjectName(Utf8(form.name));
  top.setWindowTitle(Utf8(form.caption));
  top.setWindowIcon(QIcon(QPixmap(baud51_icon)));
  top.setFont(RecordFont(form.font));
  const QRect client(Px(form.client_left), Px(form.client_top),
                     Px(form.client_width), Px(form.client_height));
  top.setGeometry(client);
  // Nothing in the layout follows a resize, so the window cannot be resized.
  top.setFixedSize(client.size());

  auto* combo_style = new ComboFitStyle;
  combo_style->setParent(&top);
  for (const window::ControlRecord& record : controls) {
    QWidget* widget = MakeControl(record, top, *combo_style);
    widget->setObjectName(Utf8(record.name));
    built.controls.push_back(widget);
  }
  auto made = [&](std::string_view name) -> QWidget* {
    for (std::size_t i = 0; i < controls.size(); ++i) {
      if (controls[i].name == name) return built.controls[i];
    }
    return nullptr;
  };
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].heading.empty()) continue;
    NameAfterHeading(qobject_cast<QLabel*>(made(controls[i].heading)),
                     qobject_cast<QComboBox*>(built.controls[i]));
  }
  QWidget* previous = nullptr;
  for (const window::ControlRecord* record : window::InTabOrder(controls)) {
    if (!window::TakesFocus(*record)) continue;
    QWidget* widget = built.controls[record - controls.data()];
    if (previous != nullptr) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
  return built;
}

}  // namespace app
