#include "app/text_to_xml_page.h"

#include "app/look.h"
#include "batch/xml_export.h"
#include "files/text_file.h"
#include "platform/qt_text.h"
#include "ui_text_to_xml_page.h"

#include <QCoreApplication>

#include <algorithm>

namespace quillet {

TextToXmlPage::TextToXmlPage(FolderChooser& folders, WindowMessageBoxes& boxes, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::TextToXmlPage>()), folders_(folders), boxes_(boxes),
      preview_((ui_->setupUi(this), *ui_->Memo6)), progress_(*ui_->ProgressBar1) {
    fitCaptions(*this);
    giveFolderIcon(*ui_->SpeedButton3);
    giveFolderIcon(*ui_->SpeedButton4);
    useMenuBackground(*ui_->Memo6);
    connect(ui_->SpeedButton3, &QToolButton::clicked, this, &TextToXmlPage::chooseSourceFolder);
    connect(ui_->SpeedButton4, &QToolButton::clicked, this, &TextToXmlPage::chooseTargetFolder);
    connect(ui_->FileListBox2, &QListWidget::itemSelectionChanged, this,
            &TextToXmlPage::previewSelectedFile);
    for (const ExportFormatInfo& format : ExportFormats)
        ui_->ComboBox1->addItem(QString::fromLatin1(format.label));
    connect(ui_->Button5, &QPushButton::clicked, this, &TextToXmlPage::exportFolder);
    // The list shows the folder its field names, "PATH" at start: no files unless such a
    // folder exists, rather than those of whatever folder the program was started in.
    ui_->FileListBox2->setDirectory(ui_->Edit8->text());
}

TextToXmlPage::~TextToXmlPage() {
    // The list outlives this part of the page; its last selection change must not come here.
    QObject::disconnect(ui_->FileListBox2, nullptr, this, nullptr);
}

void TextToXmlPage::chooseSourceFolder() {
    const QString folder = folders_.selectFolder();
    ui_->Edit8->setText(folder);
    ui_->FileListBox2->setDirectory(folder);
    progress_.setPosition(0);
}

void TextToXmlPage::chooseTargetFolder() {
    ui_->Edit9->setText(folders_.selectFolder());
}

void TextToXmlPage::previewSelectedFile() {
    const NativePath path = ui_->FileListBox2->selectedPath();
    if (!path.empty())
        loadTextFile(path, preview_, boxes_);
}

void TextToXmlPage::exportFolder() {
    // The records are streamed to the file; the hidden work views Memo7 and Memo8 stay
    // unused, so a large export does not pass through two text controls.
    // The choices stand in the order of the formats, XML first and preselected.
    const auto choice = static_cast<std::size_t>(std::max(ui_->ComboBox1->currentIndex(), 0));
    exportRecords(ExportFormats[choice].format, nativePath(ui_->Edit8->text()),
                  ui_->FileListBox2->files(), nativePath(ui_->Edit9->text()),
                  findSchemaTemplate(nativePath(QCoreApplication::applicationDirPath())),
                  {progress_, boxes_, boxes_});
}

} // namespace quillet
