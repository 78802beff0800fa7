// The graph window's "Switch..." item: the switch board opened from the graph window, offered
// only while some other compiled problem can take the integration over.
#pragma once

class ProblemWindows;
class QMainWindow;

void addGraphSwitchItem(QMainWindow& graph, ProblemWindows& windows);
