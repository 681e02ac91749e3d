#pragma once
// The OPC client dialog: the computer, an OPC server registered on it, the update rate and the
// ordered list of items, chosen from the server's address space. The OPC client devices fill
// it before it is shown and take its values after OK; one instance serves them all.

#include <QDialog>
#include <QString>
#include <QStringList>

#include <memory>

class IOpcServer;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class TOPCServerList;

class TOPCclientDlg : public QDialog {
public:
    explicit TOPCclientDlg(QWidget* parent = nullptr);
    ~TOPCclientDlg() override;

    static constexpr int kHelpContext = 36006;

    // The values the devices exchange with it.
    QString Host() const;
    void SetHost(const QString& host);
    QString Server() const;
    void SetServer(const QString& progId);
    int UpdateRate() const;
    void SetUpdateRate(int ms);
    QStringList SelectedItems() const;
    void SetSelectedItems(const QStringList& ids);
    QStringList AvailableItems() const;

    // The steps of the dialog, as its controls call them.
    void FormShow();
    void BrowseBtnClick();
    void ListServers();
    // fromBox: the user chose another server, which empties the selected items.
    void ServerChanged(bool fromBox);
    void ListItems();
    void AddBtnClick();
    void DelBtnClick();
    void ClearBtnClick();
    void UpBtnClick();
    void DownBtnClick();
    void UpdateButtons();
    // Why the chosen server could not be browsed (empty when it could).
    QString BrowseError() const { return m_browseError; }

    QLineEdit* edHost = nullptr;
    QPushButton* BrowseBtn = nullptr;
    QComboBox* cbServers = nullptr;
    QSpinBox* seUpdateRate = nullptr;
    QListWidget* lbItems = nullptr;
    QListWidget* lbUsedItems = nullptr;
    QPushButton* AddBtn = nullptr;
    QPushButton* DelBtn = nullptr;
    QPushButton* ClearBtn = nullptr;
    QPushButton* UpBtn = nullptr;
    QPushButton* DownBtn = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QLabel* lbError = nullptr;

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void TranslateCaptions();
    void Exchange(int offset);

    QGroupBox* m_hostGroup = nullptr;
    QGroupBox* m_serverGroup = nullptr;
    QGroupBox* m_rateGroup = nullptr;
    QGroupBox* m_itemsGroup = nullptr;
    QGroupBox* m_usedGroup = nullptr;
    std::unique_ptr<TOPCServerList> m_servers;
    std::unique_ptr<IOpcServer> m_server;
    QString m_browseError;
    bool m_filling = false;
};

// The program's one instance, created on first use.
TOPCclientDlg& OPCclientDlg();
