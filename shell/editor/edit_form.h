// TEditForm: the knowledge base editor.  It keeps no data of its own: every
// handler reads from and writes into the main window's current knowledge
// base at once.  The pages are built and handled in one file each
// (page_project.cc, page_slots.cc, page_proto.cc, proto_slots.cc,
// page_samples.cc, page_dialog.cc); this header names every control and
// handler of the window.
#pragma once

#include "dialogs.h"
#include "editor_link.h"
#include "kbase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <string>

class QAction;
class TForm1;

class TEditForm : public QDialog, public EditorLink {
  Q_OBJECT

 public:
  // The editor of `main`'s knowledge base; it attaches itself to `main` and
  // detaches when destroyed.  `dialogs` must outlive it.
  TEditForm(TForm1& main, Dialogs& dialogs);
  ~TEditForm() override;

  // EditorLink.
  void DropSelection() override;
  void RefreshEditor() override;
  void ShowEditor() override;

  // The window.
  void FormCreate();
  void FormShow();
  void FormDestroy();
  void OkbuttClick();
  void BitBtn1Click();
  void BitBtn2Click();
  void BitBtn3Click();
  // Shows the checker's findings for the current base; changes nothing.
  void CheckButtClick();

  // Page "Проект".
  void ProjectNameChange();
  void PurposeChange();
  void SubjectChange();
  void AuthorChange();

  // Page "Слоты".
  void SlotNameChange();
  void SlotListClick();
  void AddSlotClick();
  void DelSlotClick();
  void SlotDefChange();
  void DefValueChange();
  void ListValClick();
  void SlotDecomposeClick();
  void TextDecChange();
  void UpdateSlotPanel();
  // Selects and shows the slot definition listed as `name` (letter case
  // ignored); its position in SlotList, -1 when it is not listed.
  int ShowSlotDef(const QString& name);

  // Page "Прототипы".
  void AddProtoClick();
  void AddChildClick();
  void DelProtoClick();
  void ProtoListChange();
  // The end of in-place editing of `node`'s label with the typed `text`.
  void ProtoListEdited(QTreeWidgetItem* node, const QString& text);
  void CheckSampClick();
  void ProtoDefChange();
  void ComboBox1Change();
  void ListBox1Click();
  void ProtoAddSlotClick();
  void ProtoDelSlotClick();
  QTreeWidgetItem* FindTreeNode(const QString& name) const;
  // Adds the node of `frame` and of every frame below it; the names of
  // samples go to `samples` when given, otherwise into the sample box.
  void AddFrameNode(const norvix::AFrame& frame, QStringList* samples = nullptr);
  void UpdateProtoPanel();
  void FillFrameSlotList(const norvix::AFrame& frame);
  void DropFrameFromLists(const norvix::AFrame& frame);

  // Page "Экземпляры".
  void SampComboChange();
  void OfferMsgChange();
  void SuccessMsgChange();
  void FailMsgChange();
  void UpdateSamplePanel();
  void ListView1MouseDown();
  void ListView1Exit();
  void Edit1Change();
  void Edit1Exit();

  // Page "Диалог".
  void TargetChange();
  void InvitationChange();
  void dSuccessMsgChange();
  void dFailMsgChange();
  void CheckBox1Click();

  // The names kept in the panels' captions.
  QString CurrentSlotDef() const { return SlotBox->title(); }
  QString CurrentFrame() const { return box1->title(); }
  QString CurrentSample() const { return GroupBox1->title(); }

  // Set while the editor fills its controls from the knowledge base.
  bool Editing = false;

  // The window.
  QTabWidget* Pages;
  QWidget* TabSheet2;
  QWidget* PageSlots;
  QWidget* PageProto;
  QWidget* PageSamp;
  QWidget* TabSheet1;
  QPushButton* Okbutt;
  QPushButton* BitBtn1;
  QPushButton* BitBtn2;
  QPushButton* BitBtn3;
  QPushButton* CheckButt;

  // Page "Проект".
  QLineEdit* ProjectName;
  QPlainTextEdit* Purpose;
  QPlainTextEdit* Subject;
  QLineEdit* Author;

  // Page "Слоты".
  QPushButton* AddSlot;
  QPushButton* DelSlot;
  QLineEdit* SlotName;
  QListWidget* SlotList;
  QGroupBox* SlotBox;
  QLabel* SlotDefLabel;
  QPlainTextEdit* SlotDef;
  QLineEdit* DefValue;
  QCheckBox* ListVal;
  QCheckBox* SlotDecompose;
  QLabel* TextDecLabel;
  QLineEdit* TextDec;

  // Page "Прототипы".
  QPushButton* AddProto;
  QPushButton* DelProto;
  QPushButton* AddChild;
  QTreeWidget* ProtoList;
  QGroupBox* box1;
  QPlainTextEdit* ProtoDef;
  QCheckBox* CheckSamp;
  QComboBox* ComboBox1;
  QPushButton* ProtoAddSlot;
  QPushButton* ProtoDelSlot;
  QListWidget* ListBox1;

  // Page "Экземпляры".
  QComboBox* SampCombo;
  QLabel* ClassLabel;
  QLabel* ClassName;
  QGroupBox* GroupBox1;
  QTreeWidget* ListView1;
  QLineEdit* Edit1;
  QLabel* OfferMsgLabel;
  QLineEdit* OfferMsg;
  QLabel* SuccessMsgLabel;
  QLineEdit* SuccessMsg;
  QLabel* FailMsgLabel;
  QLineEdit* FailMsg;

  // Page "Диалог".
  QComboBox* Target;
  QLineEdit* Invitation;
  QLineEdit* dSuccessMsg;
  QLineEdit* dFailMsg;
  QCheckBox* CheckBox1;

 signals:
  // The main window's caption, from the project name field.
  void captionChanged(const QString& caption);
  // Whether the target box names a target (QueryKB follows it).
  void targetChanged(bool hasTarget);

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Sets Editing for its lifetime and restores the previous state.
  class EditingScope {
   public:
    explicit EditingScope(TEditForm& form) : form_(form), was_(form.Editing) {
      form_.Editing = true;
    }
    ~EditingScope() { form_.Editing = was_; }

   private:
    TEditForm& form_;
    bool was_;
  };

  norvix::AKBase& kb();
  QWidget* buildProjectPage();
  QWidget* buildSlotsPage();
  QWidget* buildProtoPage();
  QWidget* buildSamplePage();
  QWidget* buildDialogPage();
  void connectProject();
  void connectSlots();
  void connectProto();
  void connectSamples();
  void connectDialog();

  // RefreshEditor's steps.
  void emptyPages();
  void putFixedTexts();
  void fillFromKBase();

  // Helpers of the prototype page.
  norvix::AFrame* currentFrame();
  norvix::AFrame* currentSample();
  QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const QString& name, int image);
  void startLabelEdit(QTreeWidgetItem* node);
  void renameInTarget(const QString& oldName, const QString& newName, bool wasTarget);
  void renameInSampleBox(const QString& oldName, const QString& newName);
  // The sample's slot on the selected row of ListView1, or nullptr.
  norvix::ASlot* selectedSlot();
  QTreeWidgetItem* selectedRow() const;
  void placeEdit1(QTreeWidgetItem* row);

  TForm1& main_;
  Dialogs& dialogs_;
  QAction* clearAction_;
  QAction* loadAction_;
  QAction* saveAction_;
};
