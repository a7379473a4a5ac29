// Declarations of @tessel/pcsdk/sandbox, the offline sandbox's control surface.

/** One scripted outcome: the next `count` requests (0: every one) of an operation answer like this. */
export interface Outcome {
  module: number;
  operationCode: number;
  count?: number;
  resultCode?: number;
  message?: string | null;
  popupCreated?: boolean;
  /** The confirm, terms or withdraw answer. */
  flag?: boolean;
  emptyList?: boolean;
  delayMs?: number;
}

export declare const Module: { readonly VENDRA: 1; readonly PANORA: 2; readonly SCRIVO: 3; readonly LUDEX: 4 };
/** Loads a profile file (UTF-8 path); 0, 21 (unreadable) or 19 (invalid: lastProfileError() says why). */
export declare function loadProfileFile(path: string): number;
export declare function loadProfileText(json: string): number;
export declare function lastProfileError(): string;
export declare function pushOutcome(outcome: Outcome): number;
export declare function clearOutcomes(): void;
export declare function setLatency(milliseconds: number): void;
/** Collects the sandbox's trace lines (requests, answers queued and delivered, popups) for takeTrace(). */
export declare function setTrace(on: boolean): void;
/** The trace lines collected since the last call. */
export declare function takeTrace(): string[];
export declare function openPopupCount(): number;
export declare function closeAllPopups(): number;
/** On: the sandbox's time moves only by advanceClock, so delayed answers come due exactly then. */
export declare function setManualClock(on: boolean): void;
export declare function advanceClock(milliseconds: number): void;
/**
 * Starts the sandbox console (HTTP on 127.0.0.1; 0: a free port). url is
 * the console's address with its token, empty unless it runs; code 0, or
 * 18 (already running, url still given), or 19 (the port cannot be used).
 */
export declare function startConsole(port?: number): { code: number; url: string };
export declare function stopConsole(): void;
/** Windows and popups waiting for the player's choice in the console (interactive mode). */
export declare function waitingWindowCount(): number;
