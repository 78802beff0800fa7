// The problem window's commands of the side tools: arrays of IVPs, tables and the batch run.
#pragma once

class QMenuBar;
class TProblForm;
struct ProgramState;
class Ui;

void addToolMenus(TProblForm& form, QMenuBar* menuBar, ProgramState& state, Ui& ui);
