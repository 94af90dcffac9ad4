#pragma once

class CApplicaiton;
class QWidget;

// Shows the program's start screen through the application: the product picture with the
// version in force, a white "Loading" and the running bar below. Null without any screen.
QWidget* showProductStartScreen(CApplicaiton* app, int minimumTime, bool handOver);
