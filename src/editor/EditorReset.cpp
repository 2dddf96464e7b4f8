#include "drivers/DriversPage.h"
#include "editor/PolicyEditor.h"
#include "editor/GeneralPage.h"
#include "editor/PartyPage.h"
#include "editor/ResultsPage.h"
#include "editor/VehiclePage.h"

#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>

namespace osago {

// Leaves the editor ready for the next record. The order matters: rules that follow from a
// change (the period of use, the drivers' admission) run on the way and see the fields reset so far.
void PolicyEditor::resetEditor()
{
    m_buttonSave->setEnabled(false);
    m_generalPage->reset();
    m_policyholderPage->reset();
    m_ownerPage->reset();
    m_vehiclePage->resetVehicle();
    m_vehiclePage->resetPurposes();
    m_driversPage->resetUnrestricted();
    m_resultsPage->reset();

    m_buttonClose->hide();
    m_buttonCancel->show();
    m_buttonSave->show();
    m_driversPage->clearDrivers();
    m_mainWindow.setEnabled(true);

    // Going back to the first page is no change made by the agent: the page change rule stays out,
    // and the name fields are labelled anew when the agent next changes the page.
    {
        const QSignalBlocker quiet(m_pageControl);
        m_pageControl->setCurrentIndex(0);
    }
    m_buttonBack->setEnabled(false);
    m_buttonNext->setEnabled(true);
    m_pageControl->setFocus();
}

} // namespace osago
