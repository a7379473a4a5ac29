// A game's use of every declaration, compiled by tsc --strict: a declaration
// that does not match its use fails the build (the @ts-expect-error lines
// must stay errors).
import { platform, vendra, panora, scrivo, ludex, Result, Product, PopupList, ResultCode, WebViewMode } from '@tessel/pcsdk';
import * as sandbox from '@tessel/pcsdk/sandbox';

declare function use(...values: unknown[]): void;

async function game(): Promise<void> {
  const init: Result = platform.initialize('game');
  use(init.code === ResultCode.SUCCESS, vendra.initialize(null), vendra.initializeWithWndInfo('s', { width: 1 }),
    panora.initialize(), panora.initializeWithWndInfo(null), scrivo.initialize(), ludex.initialize());
  const version: string | null = vendra.getVersion().data;
  const page: Product[] = (await vendra.fetchProducts({ pageSize: 20 })).data;
  const purchase = vendra.startPurchaseEx({ orderProducts: [{ productId: 101n, quantity: 1 }] });
  const destroyed: Result<null> = await purchase.destroyed;
  vendra.startPurchaseEx(null, (r) => use(r.data.isPurchased), (r) => use(r.code));
  const confirmed: boolean = (await vendra.confirmPurchase(1)).data.confirmed;
  const payment: string = (await vendra.startPaymentEx({ webviewMode: WebViewMode.WINDOWED })).data;
  use(version, page, destroyed, confirmed, payment, vendra.fetchShopCategories(), vendra.fetchProductsEx(),
    vendra.startPurchase(null), vendra.startPayment(), vendra.fetchInventory(), vendra.fetchTermsAgreement(),
    vendra.fetchTermsAgreementEx(null, (r) => use(r.data.agreed)), vendra.fetchVoidedPurchases(),
    vendra.withdrawGame({ x: 1 }, (r) => use(r.data.withdrawn), (r) => use(r.code)), vendra.closeAllPopups(), vendra.uninitialize());
  const list: PopupList = (await panora.fetchManualPopup('key')).data;
  const key: string = (await panora.verifyIdentificationPopup(true, 0).value).data;
  use(list.popups[0].pair1.first, key, panora.autoPopup(0), panora.autoPopupEx(1).destroyed, panora.manualPopup('k', 0),
    panora.manualPopupEx(null, 0), panora.newsPopup(0), panora.newsPopupEx(0), panora.couponPopup(0), panora.couponPopupEx(0),
    panora.fetchAutoPopup(), panora.fetchNewsPopup(), panora.fetchCouponPopup(), panora.setPopupDisallowed({ popupId: 1, days: 2 }),
    panora.fetchWebOpenKey(), panora.closeAllPopups(), panora.getVersion(), panora.uninitialize());
  use(scrivo.send({ auid: 1n, contents: 'x' }), scrivo.getVersion(), scrivo.uninitialize(),
    ludex.fetchCharacter('hero', 'eu', (r) => use(r.data.length)), ludex.getVersion(), ludex.uninitialize());
  const ran: number = platform.runCallbacks();
  platform.startAutoPump(16);
  platform.stopAutoPump();
  use(ran, platform.resultCodeName(0), platform.pendingCount(), platform.strayAnswers(), platform.uninitialize());
  use(sandbox.loadProfileFile('p.json'), sandbox.loadProfileText('{}'), sandbox.lastProfileError(),
    sandbox.pushOutcome({ module: sandbox.Module.LUDEX, operationCode: 80, resultCode: 21 }), sandbox.clearOutcomes(),
    sandbox.setLatency(5), sandbox.setTrace(true), sandbox.takeTrace().length, sandbox.openPopupCount(), sandbox.closeAllPopups(),
    sandbox.setManualClock(true), sandbox.advanceClock(16), sandbox.startConsole(0).url, sandbox.stopConsole(),
    sandbox.waitingWindowCount());
  // @ts-expect-error a character id is a text
  ludex.fetchCharacter(42, 'eu');
  // @ts-expect-error the callback form returns no promise
  const none: Promise<unknown> = ludex.fetchCharacter('hero', 'eu', () => {});
  use(none);
  // @ts-expect-error a popup's mode is 0 or 1
  panora.autoPopup(2);
}
use(game);
