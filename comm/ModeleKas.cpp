#include "comm/ModeleKas.h"

int KodModeluZBajtu(std::uint8_t bajt) {
    switch (bajt) {
    case 104:
        return 1;
    case 103:
        return 2;
    case 101:
        return 3;
    case 100:
        return 4;
    case 102:
        return 5;
    case 107:
        return 6;
    case 132:
        return 7;
    case 133:
        return 8;
    case 139:
        return 9;
    default:
        return 0;
    }
}

QString NazwaModelu(int kodModelu) {
    switch (kodModelu) {
    case 1:
        return QStringLiteral("VARDO 20479");
    case 2:
        return QStringLiteral("VARDO 10239");
    case 3:
        return QStringLiteral("KESTO 4095");
    case 4:
        return QStringLiteral("KESTO 2047");
    case 5:
        return QStringLiteral("NUVI");
    case 6:
    case 7:
        return QStringLiteral("PIXO 511 PLU");
    case 8:
        return QStringLiteral("PIXO 2559 PLU");
    case 9:
        return QStringLiteral("PIXO E 3071 PLU");
    default:
        return {};
    }
}
