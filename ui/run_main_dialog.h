#pragma once
// Runs the main dialog modally until it closes (start-up's last step).

class CQuarnelApp;

void RunMainDialog(CQuarnelApp& app);
