#pragma once

#include "pages/Page.h"

#include <QIcon>

#include <array>
#include <optional>
#include <string>

class BitmapButton;
class ColorGroupBox;
class QTreeWidget;
class QTreeWidgetItem;
struct ProfileEditorRequest;

// The networks in range and the stored profiles.
//
// Showing the page loads the profile list and starts a survey; the survey runs away from the
// window's thread, so the window repaints and takes input meanwhile, with the wait cursor up until
// the survey's networks are in the list. The networks come in the adapter's order until the user
// sorts them by a heading. Every profile operation writes the store at once; Connect, a
// double-click or Enter in either list opens the profile editor (or, for a profile, applies it
// unseen), whose OK shows Link Info for the next tick to apply.
class SiteSurveyPage : public Page {
    Q_OBJECT
public:
    // Columns of the network list.
    enum Column { SsidColumn, BssidColumn, SignalColumn, SecurityColumn, ChannelColumn, columnCount };

    SiteSurveyPage(AppContext& context, QWidget* parent);

    void LoadProfileList();
    // Starts a survey (unless one runs); the list is filled when it ends.
    void RefreshSurvey();

    // The buttons' operations, on the selected row; without one each does nothing.
    void AddProfile();
    void EditProfile(); // Properties
    void removeSelectedProfile();
    void MoveProfileUp();
    void MoveProfileDown();
    void ConnectSurveyed();
    void ConnectProfile();

    void shown() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createNetworkGroup();
    void createProfileGroup();
    void fitColumns();
    void onSurveyFinished();
    void fillSurveyList();
    void onHeadingClicked(int column);
    void applySort();
    void openEditor(const ProfileEditorRequest& request);
    void openProfile(bool connect);
    void moveProfile(int step);
    void confirmRemove();
    QTreeWidgetItem* selectedNetwork() const;
    QTreeWidgetItem* selectedProfile() const;
    QString text(const char* english) const;

    QTreeWidget* m_networkList = nullptr;
    QTreeWidget* m_profileList = nullptr;
    std::array<QIcon, 6> m_icons;                        // by logic::SurveyImage
    bool m_waitCursor = false;                           // the wait cursor is up for a survey of this page
    std::optional<std::pair<int, Qt::SortOrder>> m_sort; // none: the adapter's order
};

namespace sitesurvey {
// The filled part of a signal bar of the given width for a percentage, clamped to 0..100.
int signalBarFill(int percent, int barWidth);
} // namespace sitesurvey
