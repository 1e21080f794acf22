// The UPC-A editor: the UPC family's design with 11 message digits.
#pragma once

#include "upcfamily.h"

class Tfmupc_a : public TUpcEditor {
    Q_OBJECT
public:
    Tfmupc_a(QWidget* parent, EditorHost& host);

public slots:
    void Button1Click() override;
};
